#include "library/EditPlan.h"

#include "core/ConcatList.h"
#include "library/EditTimeline.h"

#include <cmath>
#include <cstdio>

namespace {

const char kPrefix[] = "~vintratemp";

// Whole seconds, as FormatMsAsHms gives them to the converter.
double WholeSecondsMs(double ms)
{
    return ms > 0 ? std::floor(ms / 1000.0) * 1000.0 : 0;
}

std::string Format(const char* pattern, const std::string& a, const std::string& b,
                   const std::string& c, const std::string& d)
{
    char text[2048];
    snprintf(text, sizeof text, pattern, a.c_str(), b.c_str(), c.c_str(), d.c_str());
    return text;
}

std::string StepFile(const std::string& folder, const char* part)
{
    return folder + "\\" + kPrefix + "_" + part + ".avi";
}

std::string Lower(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = (char)(c - 'A' + 'a');
    return s;
}

}  // namespace

std::string CheckEditRange(EditKind kind, const EditRange& r)
{
    if (r.durationMs <= 0) return "无法读取视频的时长，不能剪辑这个视频。";
    if (r.endMs <= r.startMs) return "请先在时间轴上选择一个区间。";
    const double tail = r.durationMs - r.endMs;
    if (kind == EditKind::Keep) {
        if (WholeSecondsMs(r.endMs - r.startMs) <= 0) return "选择的区间不足一秒，请重新选择。";
        return "";
    }
    if (r.startMs < 1000 && tail < 1000) return "不能删除整个视频，请重新选择区间。";
    return "";
}

EditPlan PlanEdit(EditKind kind, const std::string& input, const std::string& folder, int step,
                  const EditRange& r)
{
    EditPlan plan;
    plan.input = input;
    char merge[32];
    snprintf(merge, sizeof merge, "Merge%d", step);
    plan.output = StepFile(folder, merge);
    const double tail = r.durationMs - r.endMs;
    // The part after the range starts at E, the end cut to whole seconds:
    // its length reaches the file's end, rounded up, or up to a second of
    // the video's end would be lost with it.
    const double rest = r.durationMs - WholeSecondsMs(r.endMs);
    const double restUp = std::ceil(rest / 1000.0) * 1000.0;
    const std::string S = FormatMsAsHms(r.startMs);
    const std::string E = FormatMsAsHms(r.endMs);
    const std::string D = FormatMsAsHms(restUp);
    const std::string Z = FormatMsAsHms(0);

    if (kind == EditKind::Keep) {
        // From the start label's second to the end label's: the two times
        // the user sees. The pixel width cut to whole seconds could come out
        // a second shorter than that.
        const double length = WholeSecondsMs(r.endMs) - WholeSecondsMs(r.startMs);
        plan.runs.push_back(
            {Format(" -y -accurate_seek -i \"%s\" -ss %s -t %s -codec copy -avoid_negative_ts 1 \"%s\"",
                    input, S, FormatMsAsHms(length), plan.output),
             0});
        plan.expectedMs = WholeSecondsMs(length);
        return plan;
    }
    if (r.startMs < 1000) {
        plan.runs.push_back(
            {Format(" -y -accurate_seek -i \"%s\" -ss %s -t %s -codec copy -avoid_negative_ts 1 \"%s\"",
                    input, E, D, plan.output),
             0});
        plan.expectedMs = rest;
        return plan;
    }
    if (tail < 1000) {
        plan.runs.push_back(
            {Format(" -y -accurate_seek -i \"%s\" -ss %s -t %s  -codec copy -avoid_negative_ts 1 \"%s\"",
                    input, Z, S, plan.output),
             0});
        plan.expectedMs = WholeSecondsMs(r.startMs);
        return plan;
    }
    const std::string cut1 = StepFile(folder, "Cut1");
    const std::string cut2 = StepFile(folder, "Cut2");
    const char* reencode =
        " -y -ss %s -t %s  -i \"%s\"  -c:v libx264 -crf 32 -c:a copy -preset ultrafast -strict "
        "experimental \"%s\"";
    plan.runs.push_back({Format(reencode, Z, S, input, cut1), 1});
    plan.runs.push_back({Format(reencode, E, D, input, cut2), 2});
    plan.joinListPath = folder + "\\concat_file.txt";
    plan.joinList = JoinListLine(cut1) + JoinListLine(cut2);
    // The list holds absolute paths, which the concat demuxer refuses as
    // unsafe unless told otherwise.
    plan.runs.push_back({Format(" -y -f concat -safe 0 -i \"%s\" -c copy \"%s\"", plan.joinListPath,
                                plan.output, "", ""),
                         3});
    plan.parts = {cut1, cut2};
    plan.expectedMs = WholeSecondsMs(r.startMs) + rest;
    return plan;
}

std::string EditBaseName(const std::string& file)
{
    size_t slash = file.find_last_of("\\/");
    std::string name = slash == std::string::npos ? file : file.substr(slash + 1);
    name = name.substr(0, name.find('.'));
    return name.empty() ? "video" : name;
}

std::string EditTempRoot(const std::string& tempPath)
{
    std::string root = tempPath;
    if (!root.empty() && root.back() != '\\') root += '\\';
    return root + "VintraCamTemp";
}

std::string EditWorkFolder(const std::string& tempPath, const std::string& firstFile)
{
    return EditTempRoot(tempPath) + "\\" + EditBaseName(firstFile);
}

bool IsInsideEditTempRoot(const std::string& path, const std::string& root)
{
    if (root.empty() || root.back() == '\\') return false;
    const std::string prefix = Lower(root) + "\\";
    const std::string p = Lower(path);
    if (p.size() <= prefix.size() || p.compare(0, prefix.size(), prefix) != 0) return false;
    // Every part below the root is a real name.
    size_t start = prefix.size();
    for (;;) {
        size_t end = p.find_first_of("\\/", start);
        const std::string part = p.substr(start, end == std::string::npos ? end : end - start);
        if (part.empty() || part == "." || part == ".." || part.find(':') != std::string::npos)
            return false;
        if (end == std::string::npos) return true;
        start = end + 1;
    }
}

std::string SavedEditPath(const std::string& firstFile,
                          const std::function<bool(const std::string&)>& exists)
{
    size_t slash = firstFile.find_last_of('\\');
    const std::string folder = slash == std::string::npos ? "" : firstFile.substr(0, slash + 1);
    const std::string base = folder + EditBaseName(firstFile) + "-cut";
    std::string path = base + ".avi";
    for (int n = 2; exists && exists(path); ++n) path = base + "(" + std::to_string(n) + ").avi";
    return path;
}
