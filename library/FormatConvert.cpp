#include "library/FormatConvert.h"

#include <cctype>

namespace {

struct FormatRow {
    const char* option;
    const char* extension;
};

const FormatRow kFormats[kConvertFormatCount] = {
    {"format_mp4_opt", ".mp4"}, {"format_wmv_opt", ".wmv"},  {"format_avi_opt", ".avi"},
    {"format_3gp_opt", ".3gp"}, {"format_flv_opt", ".flv"},  {"format_swf_opt", ".swf"},
    {"format_mkv_opt", ".mkv"}, {"format_mov_opt", ".mov"},  {"format_vob_opt", ".vob"},
    {"format_gif_opt", ".gif"}, {"format_webm_opt", ".webm"}, {"format_mpg_opt", ".mpg"},
};

const char* const kQualityOptions[kConvertQualityCount] = {"qulity_1_opt", "qulity_2_opt",
                                                           "qulity_3_opt", "qulity_4_opt"};

// One row per family of formats; the columns are the four qualities.
const char* const kH264[] = {" -preset fast -crf 18 ", " -preset fast -crf 28 ",
                             " -preset fast -crf 38 ", " -preset fast -crf 48 "};
const char* const kWmv[] = {" -c:v wmv2 -b:v 10M -c:a wmav2 -b:a 192k ",
                            " -c:v wmv2 -b:v 6M -c:a wmav2 -b:a 192k ",
                            " -c:v wmv2 -b:v 3M -c:a wmav2 -b:a 192k ",
                            " -c:v wmv2 -b:v 1M -c:a wmav2 -b:a 192k "};
const char* const kXvid[] = {" -c:v libxvid -qscale 0 ", "  -c:v libxvid -qscale 6 ",
                             "  -c:v libxvid -qscale 12 ", "  -c:v libxvid -qscale 18 "};
const char* const k3gp[] = {" -r 15 -ab 12.2k -ac 1 -ar 8000 -f 3gp -s 1408x1152 ",
                            " -r 15 -ab 12.2k -ac 1 -ar 8000 -f 3gp -s 704x576 ",
                            " -r 15 -ab 12.2k -ac 1 -ar 8000 -f 3gp -s 352x288 ",
                            " -r 15 -ab 12.2k -ac 1 -ar 8000 -f 3gp -s 176x144 "};
const char* const kQscale[] = {" -qscale 0 ", " -qscale 6 ", " -qscale 12 ", " -qscale 18 "};

const char* const* OptionRow(int format)
{
    switch (format) {
        case 0:
        case 6:
        case 7:
            return kH264;
        case 1:
            return kWmv;
        case 2:
            return kXvid;
        case 3:
            return k3gp;
        case 4:
        case 5:
        case 8:
        case 11:
            return kQscale;
        default:
            return nullptr;
    }
}

std::string Quoted(const std::string& s)
{
    return "\"" + s + "\"";
}

std::string Normalised(const std::string& path)
{
    std::string out;
    out.reserve(path.size());
    for (char c : path) out += c == '/' ? '\\' : (char)tolower((unsigned char)c);
    return out;
}

bool Contains(const std::string& text, const char* part)
{
    return text.find(part) != std::string::npos;
}

std::string FailureText(const std::string& lastLine)
{
    // The converter's words for a missing Xvid encoder; the presets of
    // "avi" ask for it and this converter is built without it.
    if (Contains(lastLine, "libxvid"))
        return "转换失败：转换程序没有 Xvid 编码器，无法转换为 avi 格式。";
    if (lastLine.empty()) return "转换失败。";
    return "转换失败：" + lastLine;
}

}  // namespace

const char* ConvertFormatOptionName(int format)
{
    return format >= 0 && format < kConvertFormatCount ? kFormats[format].option : nullptr;
}

const char* ConvertQualityOptionName(int quality)
{
    return quality >= 0 && quality < kConvertQualityCount ? kQualityOptions[quality] : nullptr;
}

const char* ConvertFormatExtension(int format)
{
    return format >= 0 && format < kConvertFormatCount ? kFormats[format].extension : nullptr;
}

std::string ConvertOptions(int format, int quality)
{
    // gif and webm take the converter's defaults at every quality.
    if (format == 9 || format == 10) return " ";
    const char* const* row = OptionRow(format);
    if (!row || quality < 0 || quality >= kConvertQualityCount) return "";
    return row[quality];
}

std::string BuildConvertCommandLine(const std::string& input, const std::string& options,
                                    const std::string& output)
{
    return " -y -i " + Quoted(input) + " " + options + Quoted(output);
}

ConvertTarget DefaultConvertTarget(const std::string& input)
{
    ConvertTarget t;
    const size_t slash = input.rfind('\\');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    size_t dot = input.rfind('.');
    if (dot == std::string::npos || dot < nameStart) dot = input.size();
    t.folder = input.substr(0, nameStart);
    t.baseName = input.substr(nameStart, dot - nameStart);
    return t;
}

std::string AsOutputFolder(const std::string& folder)
{
    if (folder.empty() || folder.back() == '\\') return folder;
    return folder + "\\";
}

bool SameFilePath(const std::string& a, const std::string& b)
{
    return Normalised(a) == Normalised(b);
}

std::string ChooseOutputPath(const std::string& input, const std::string& wanted,
                             const std::function<bool(const std::string&)>& exists)
{
    if (!SameFilePath(input, wanted)) return wanted;
    const size_t slash = wanted.rfind('\\');
    size_t dot = wanted.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        dot = wanted.size();
    const std::string stem = wanted.substr(0, dot), extension = wanted.substr(dot);
    for (int n = 1;; ++n) {
        std::string candidate = stem + "_" + std::to_string(n) + extension;
        if (!exists(candidate)) return candidate;
    }
}

ConvertProgressTexts MakeConvertProgressTexts(const std::string& duration, const std::string& time,
                                              const std::string& bitrate,
                                              const std::string& percent)
{
    return {"时间：" + time + "/" + duration, "比特率：" + bitrate, "完成百分比：" + percent};
}

bool FileStamp::operator==(const FileStamp& o) const
{
    return exists == o.exists && size == o.size &&
           CompareFileTime(&written, &o.written) == 0;
}

FileStamp StampOf(const std::string& path)
{
    FileStamp s;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return s;
    s.exists = true;
    s.size = ((unsigned long long)data.nFileSizeHigh << 32) | data.nFileSizeLow;
    s.written = data.ftLastWriteTime;
    return s;
}

ConvertOutcome JudgeConversion(bool cancelled, bool runEnded, DWORD exitCode,
                               const std::string& lastLine, const FileStamp& before,
                               const FileStamp& after)
{
    ConvertOutcome o;
    o.cancelled = cancelled;
    o.succeeded = !cancelled && runEnded && exitCode == 0 && after.exists && after.size > 0;
    if (o.succeeded) return o;
    o.removeOutput = after.exists && (!before.exists || !(before == after));
    if (cancelled) return o;
    if (runEnded && exitCode == 0)
        o.message = "转换失败：没有生成输出文件。";
    else
        o.message = FailureText(lastLine);
    return o;
}
