// What the format conversion decides without a window: the twelve formats
// and four qualities with the converter's options for each, the converter's
// command line, the output path made from the input, a free name when the
// output would overwrite its own input, the progress texts, and how a run
// that has ended is judged and told.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

const int kConvertFormatCount = 12;
const int kConvertQualityCount = 4;
const int kConvertFormatAvi = 2;

// The option control of a format ("format_mp4_opt"), of a quality
// ("qulity_2_opt"); null out of range.
const char* ConvertFormatOptionName(int format);
const char* ConvertQualityOptionName(int quality);
// ".mp4" ... ".mpg"; null out of range.
const char* ConvertFormatExtension(int format);

// The converter's options of a format at a quality, blanks included; empty
// for an index out of range.
std::string ConvertOptions(int format, int quality);

// " -y -i "input" <options>"output"": both paths quoted, so a folder with a
// blank stays one argument.
std::string BuildConvertCommandLine(const std::string& input, const std::string& options,
                                    const std::string& output);

// Where a conversion writes: folder (ending in "\", or empty), the input's
// name without its last extension, and the format's extension.
struct ConvertTarget {
    std::string folder;
    std::string baseName;
    std::string extension = ".mp4";

    std::string Path() const { return folder + baseName + extension; }
};

// The input's folder and base name, extension ".mp4" ("C:\v\a.b.avi" gives
// "C:\v\a.b.mp4").
ConvertTarget DefaultConvertTarget(const std::string& input);
// A folder the user picked, as the target's folder (with its "\").
std::string AsOutputFolder(const std::string& folder);

// Same file, by the rules of Windows paths (case, either slash).
bool SameFilePath(const std::string& a, const std::string& b);
// The output path to give the converter: `wanted`, unless it is the input
// itself (the converter refuses to write its own input), then the first of
// "name_1.ext", "name_2.ext", ... for which exists() is false.
std::string ChooseOutputPath(const std::string& input, const std::string& wanted,
                             const std::function<bool(const std::string&)>& exists);

// The three labels of the progress page from the runner's texts.
struct ConvertProgressTexts {
    std::string time;     // "时间：00:00:05.00/ 00:00:10.00"
    std::string bitrate;  // "比特率：..."
    std::string percent;  // "完成百分比：50%"
};
ConvertProgressTexts MakeConvertProgressTexts(const std::string& duration, const std::string& time,
                                              const std::string& bitrate,
                                              const std::string& percent);

// The output file as it stood: whether it existed, its size and last write.
struct FileStamp {
    bool exists = false;
    unsigned long long size = 0;
    FILETIME written = {0, 0};

    bool operator==(const FileStamp& o) const;
};
FileStamp StampOf(const std::string& path);

// How a run ended, as the window tells it.
struct ConvertOutcome {
    bool succeeded = false;
    bool cancelled = false;
    // The text shown for a failure (empty on success and after a cancel).
    std::string message;
    // The output is half-written (or empty) and goes: it did not exist
    // before the run, or the converter changed it. A file of the user's that
    // the converter never touched stays.
    bool removeOutput = false;
    // The file the converter wrote to (set by whoever ran it).
    std::string output;
};
// runEnded: the converter ended by itself; exitCode its code; lastLine its
// last message line. A success needs exit code 0 and a non-empty output.
ConvertOutcome JudgeConversion(bool cancelled, bool runEnded, DWORD exitCode,
                               const std::string& lastLine, const FileStamp& before,
                               const FileStamp& after);
