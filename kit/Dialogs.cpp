#include "kit/Dialogs.h"

#include "kit/DialogAnswerProtocol.h"
#include "kit/FolderDialog.h"

#include <commdlg.h>

#include <cstdlib>
#include <deque>
#include <map>
#include <mutex>

namespace {

std::mutex g_lock;
std::deque<DialogAnswer> g_answers;
int g_shown = 0;
QuestionBox g_questionBox = nullptr;

// The answer queued for the next dialog of that kind, if any.
bool TakeAnswer(DialogKind kind, DialogAnswer* out)
{
    std::lock_guard<std::mutex> lock(g_lock);
    for (auto it = g_answers.begin(); it != g_answers.end(); ++it) {
        if (it->kind != kind) continue;
        *out = *it;
        g_answers.erase(it);
        return true;
    }
    ++g_shown;
    return false;
}

bool AskFileName(HWND owner, const char* filter, const char* defaultExtension, std::string* path,
                 bool save)
{
    DialogAnswer answer;
    if (TakeAnswer(save ? DialogKind::SaveFile : DialogKind::OpenFile, &answer)) {
        if (answer.ok) *path = answer.path;
        return answer.ok;
    }
    char buffer[MAX_PATH] = {};
    lstrcpynA(buffer, path->c_str(), MAX_PATH);
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buffer;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrDefExt = defaultExtension;
    ofn.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR |
                (save ? OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST
                      : OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
    BOOL ok = save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    if (!ok) return false;
    *path = buffer;
    return true;
}

}  // namespace

bool AskColor(HWND owner, COLORREF* color)
{
    DialogAnswer answer;
    if (TakeAnswer(DialogKind::Color, &answer)) {
        if (answer.ok) *color = answer.color;
        return answer.ok;
    }
    static COLORREF custom[16] = {};
    CHOOSECOLORA cc = {};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = owner;
    cc.rgbResult = *color;
    cc.lpCustColors = custom;
    cc.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorA(&cc)) return false;
    *color = cc.rgbResult;
    return true;
}

bool AskFont(HWND owner, LOGFONTA* font, COLORREF* color)
{
    DialogAnswer answer;
    if (TakeAnswer(DialogKind::Font, &answer)) {
        if (answer.ok) {
            *font = answer.font;
            if (color) *color = answer.color;
        }
        return answer.ok;
    }
    LOGFONTA chosen = *font;
    CHOOSEFONTA cf = {};
    cf.lStructSize = sizeof cf;
    cf.hwndOwner = owner;
    cf.lpLogFont = &chosen;
    cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | (color ? CF_EFFECTS : 0);
    cf.rgbColors = color ? *color : 0;
    if (!ChooseFontA(&cf)) return false;
    *font = chosen;
    if (color) *color = cf.rgbColors;
    return true;
}

bool AskOpenFile(HWND owner, const char* filter, std::string* path)
{
    return AskFileName(owner, filter, nullptr, path, false);
}

bool AskSaveFile(HWND owner, const char* filter, const char* defaultExtension, std::string* path)
{
    return AskFileName(owner, filter, defaultExtension, path, true);
}

bool AskFolder(HWND owner, const std::string& initialFolder, std::string* folder)
{
    DialogAnswer answer;
    if (TakeAnswer(DialogKind::Folder, &answer)) {
        if (answer.ok) *folder = answer.path;
        return answer.ok;
    }
    CFolderDialog dialog(initialFolder.empty() ? nullptr : initialFolder.c_str());
    if (dialog.DoModal() != IDOK) return false;
    *folder = dialog.GetFolderPath();
    return true;
}

int AskQuestion(HWND owner, const std::string& title, const std::string& text,
                const std::string& first, const std::string& second, const std::string& third)
{
    DialogAnswer answer;
    if (TakeAnswer(DialogKind::Question, &answer)) return answer.choice;
    QuestionBox box;
    {
        std::lock_guard<std::mutex> lock(g_lock);
        box = g_questionBox;
    }
    return box ? box(owner, title, text, first, second, third) : 3;
}

void SetQuestionBox(QuestionBox box)
{
    std::lock_guard<std::mutex> lock(g_lock);
    g_questionBox = box;
}

void QueueDialogAnswer(const DialogAnswer& answer)
{
    std::lock_guard<std::mutex> lock(g_lock);
    g_answers.push_back(answer);
}

size_t PendingDialogAnswers()
{
    std::lock_guard<std::mutex> lock(g_lock);
    return g_answers.size();
}

bool QueueDialogAnswerFromPayload(const std::string& payload)
{
    std::map<std::string, std::string> f;
    for (size_t p = 0; p < payload.size();) {
        size_t k = payload.find('\0', p);
        if (k == std::string::npos) break;
        size_t v = payload.find('\0', k + 1);
        if (v == std::string::npos) break;
        f[payload.substr(p, k - p)] = payload.substr(k + 1, v - k - 1);
        p = v + 1;
    }
    static const std::map<std::string, DialogKind> kinds = {{"color", DialogKind::Color},
                                                            {"font", DialogKind::Font},
                                                            {"open", DialogKind::OpenFile},
                                                            {"save", DialogKind::SaveFile},
                                                            {"folder", DialogKind::Folder},
                                                            {"question", DialogKind::Question}};
    auto kind = kinds.find(f["kind"]);
    if (kind == kinds.end()) return false;
    DialogAnswer answer{kind->second};
    answer.ok = f["ok"] != "0";
    answer.color = (COLORREF)strtoul(f["color"].c_str(), nullptr, 10);
    answer.path = f["path"];
    answer.choice = f.count("choice") ? atoi(f["choice"].c_str()) : 3;
    lstrcpynA(answer.font.lfFaceName, f["face"].c_str(), LF_FACESIZE);
    answer.font.lfHeight = atol(f["height"].c_str());
    answer.font.lfWeight = atol(f["weight"].c_str());
    answer.font.lfItalic = f["italic"] == "1";
    answer.font.lfCharSet = DEFAULT_CHARSET;
    QueueDialogAnswer(answer);
    return true;
}

void ClearDialogAnswers()
{
    std::lock_guard<std::mutex> lock(g_lock);
    g_answers.clear();
}

int ShownDialogCount()
{
    std::lock_guard<std::mutex> lock(g_lock);
    return g_shown;
}
