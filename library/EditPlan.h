// What one step of the video editor runs: the converter's command lines
// for cutting a range out of the current file or keeping only the range,
// the files they write in the editor's working folder, the length the
// result must have, and why a range cannot be edited. Also the working
// folders' names, the clean-up that removes them, and the name a saved
// result takes. No window, no converter run (library/EditWorker.h runs a
// plan).
#pragma once

#include <functional>
#include <string>
#include <vector>

enum class EditKind { Cut, Keep };

// The selection in ms of the current file, and the file's length.
struct EditRange {
    double startMs = 0;
    double endMs = 0;
    double durationMs = 0;
};

// Why an edit of the range cannot run (the program's text for the user);
// empty when it can.
std::string CheckEditRange(EditKind kind, const EditRange& range);

struct EditRun {
    std::string arguments;  // the converter's, starting with a blank
    int stage = 0;          // 0: the step's only run; 1, 2, 3: the runs of a middle cut
};

struct EditPlan {
    std::vector<EditRun> runs;
    std::string input;
    std::string output;  // the step's result, in the working folder
    // The middle cut's join list and its lines, written before stage 3.
    std::string joinListPath;
    std::string joinList;
    // The files the runs write besides the output (the middle cut's parts).
    std::vector<std::string> parts;
    // The length the result must have: the converter is given whole
    // seconds, so this is whole seconds too, except a part that runs to the
    // file's end.
    double expectedMs = 0;
};

// The plan of one step; `step` numbers its output file. The range must
// have passed CheckEditRange.
EditPlan PlanEdit(EditKind kind, const std::string& input, const std::string& folder, int step,
                  const EditRange& range);

// The file name up to its first '.'; "video" when that is empty (".avi").
std::string EditBaseName(const std::string& file);
// "<temp folder>VintraCamTemp", the root of the working folders; tempPath
// as GetTempPathA gives it (ending in '\', added when missing).
std::string EditTempRoot(const std::string& tempPath);
// The working folder of an editing that started from firstFile.
std::string EditWorkFolder(const std::string& tempPath, const std::string& firstFile);
// True when path names a folder strictly below root: root itself, a
// path that leaves it ("..", "."), or an empty part never qualify.
bool IsInsideEditTempRoot(const std::string& path, const std::string& root);

// "<folder of firstFile>\<base>-cut.avi", or when that exists,
// "<base>-cut(2).avi", "(3)", ...: a save never replaces an earlier one.
std::string SavedEditPath(const std::string& firstFile,
                          const std::function<bool(const std::string&)>& exists);
