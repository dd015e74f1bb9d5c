#include "library/windows/FormatConvertWindow.h"

#include "core/ProgramFolder.h"
#include "core/SystemMessageBox.h"
#include "kit/Dialogs.h"
#include "library/ConvertRun.h"
#include "library/VideoFileActions.h"

#include <shlobj.h>

namespace {

// WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION;
// an application window with a static edge.
const DWORD kStyle = 0x96C80000;
const DWORD kExStyle = 0x60000;

const char kVideoFilter[] =
    "Video Files(*.mp4;*.avi;*.wmv;*.3gp;*.flv;*.swf;*.mkv;*.mov;*.vob;*.gif;*.webm;*.mpg)\0"
    "*.mp4;*.avi;*.wmv;*.3gp;*.flv;*.swf;*.mkv;*.mov;*.vob;*.gif;*.webm;*.mpg\0\0";

bool PathExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string DesktopFolder()
{
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

void SetTextAndTip(DuiLib::CControlUI* control, const std::string& text)
{
    if (!control) return;
    control->SetText(text.c_str());
    control->SetToolTip(text.c_str());
}

void Show(DuiLib::CControlUI* control, bool show)
{
    if (control) control->SetVisible(show);
}

}  // namespace

FormatConvertWindow::FormatConvertWindow(HWND, int x, int y, const std::string& videoFile)
    : SkinWindow({"format_convert_wnd.xml"}), m_x(x), m_y(y), m_input(videoFile)
{
    Create(nullptr, "FormatConvertWindow", kStyle, kExStyle, 0, 0, 0, 0);
    ShowWindow(true, true);
}

void FormatConvertWindow::OnWindowInit()
{
    m_cover = Find("cover_layout");
    m_main = Find("main_layout");
    m_inputLabel = Find("input_file_lab");
    m_outputButton = Find("output_file_btn");
    m_outputTitle = Find("output_file_lab_title");
    m_runButton = Find("run_btn");
    m_result = Find("convert_result_lab");
    m_timeLabel = Find("cur_time_lab");
    m_bitrateLabel = Find("cur_bitrate_lab");
    m_percentLabel = Find("remaining_time_lab");
    for (int i = 0; i < kConvertFormatCount; ++i) {
        auto* option = Find<DuiLib::COptionUI>(ConvertFormatOptionName(i));
        if (option) option->SetTag((UINT_PTR)i);
        m_formatOptions.push_back(option);
    }
    for (int i = 0; i < kConvertQualityCount; ++i) {
        auto* option = Find<DuiLib::COptionUI>(ConvertQualityOptionName(i));
        if (option) option->SetTag((UINT_PTR)i);
        m_qualityOptions.push_back(option);
    }
    SetDefaultOutputPath();
    Show(m_cover, false);
    Show(m_main, true);
    Show(m_outputButton, true);
    Show(m_outputTitle, true);
    ShowOutputPath();
    ShowInputPath();
    ShowResult("");
    // A conversion started from an earlier window, since closed, may still
    // be running: this window shows it to its end.
    if (ConversionRunning()) {
        AttachConversionWindow(m_hWnd);
        Show(m_cover, true);
        Show(m_main, false);
        if (m_runButton) m_runButton->SetEnabled(false);
    }
    CenterWindow();
    m_initialised = true;
}

void FormatConvertWindow::SetDefaultOutputPath()
{
    m_target = DefaultConvertTarget(m_input);
    m_output = m_target.Path();
}

void FormatConvertWindow::UpdateOutputExtension(int format)
{
    if (const char* extension = ConvertFormatExtension(format)) m_target.extension = extension;
    m_output = m_target.Path();
}

void FormatConvertWindow::ShowOutputPath()
{
    SetTextAndTip(m_outputButton, m_output);
}

void FormatConvertWindow::ShowInputPath()
{
    if (!m_input.empty()) SetTextAndTip(m_inputLabel, m_input);
}

void FormatConvertWindow::ShowResult(const std::string& text)
{
    if (!m_result) return;
    m_result->SetText(text.c_str());
    m_result->SetToolTip(text.c_str());
    m_result->SetVisible(!text.empty());
}

void FormatConvertWindow::ShowSettingsPage()
{
    Show(m_cover, false);
    Show(m_main, true);
}

bool FormatConvertWindow::BuildConvertCommand(int format, int quality)
{
    m_cancelled = 0;
    if (m_input.empty()) {
        ShowSystemMessageBox(m_hWnd, "请选择一个要转换的视频文件！", "提示", MB_OK);
        return false;
    }
    if (ConversionRunning()) return false;
    // Written over its own input the converter would refuse to run at all.
    m_output = ChooseOutputPath(m_input, m_target.Path(), PathExists);
    ShowOutputPath();
    g_strFfmpegCmd = BuildConvertCommandLine(m_input, ConvertOptions(format, quality), m_output);
    ShowResult("");
    for (DuiLib::CControlUI* label : {m_timeLabel, m_bitrateLabel, m_percentLabel})
        if (label) label->SetText("");
    Show(m_cover, true);
    Show(m_main, false);
    if (!StartConversion(m_hWnd, m_output, GetProgramFolder())) {
        ShowSettingsPage();
        return false;
    }
    if (m_runButton) m_runButton->SetEnabled(false);
    return true;
}

void FormatConvertWindow::OnProgress()
{
    ConvertProgressTexts texts;
    if (!CurrentConversionProgress(&texts)) return;
    if (m_timeLabel) m_timeLabel->SetText(texts.time.c_str());
    if (m_bitrateLabel) m_bitrateLabel->SetText(texts.bitrate.c_str());
    if (m_percentLabel) m_percentLabel->SetText(texts.percent.c_str());
}

void FormatConvertWindow::OnDone(const ConvertOutcome& outcome)
{
    ShowSettingsPage();
    if (m_runButton) m_runButton->SetEnabled(true);
    // Only a finished, complete file is offered.
    Show(m_outputButton, outcome.succeeded);
    Show(m_outputTitle, outcome.succeeded);
    if (outcome.succeeded) {
        m_output = outcome.output;
        ShowOutputPath();
    }
    ShowResult(outcome.message);
}

void FormatConvertWindow::ChooseInput()
{
    std::string path;
    const HWND window = m_hWnd;
    if (!AskOpenFile(window, kVideoFilter, &path) || !::IsWindow(window)) return;
    m_input = path;
    ShowInputPath();
    // A new input starts again from ".mp4", whichever format is chosen.
    SetDefaultOutputPath();
    ShowOutputPath();
}

void FormatConvertWindow::ChooseOutputFolder()
{
    std::string folder;
    const HWND window = m_hWnd;
    if (!AskFolder(window, DesktopFolder(), &folder) || !::IsWindow(window)) return;
    m_target.folder = AsOutputFolder(folder);
    m_output = m_target.Path();
    ShowOutputPath();
}

void FormatConvertWindow::OnNotify(DuiLib::TNotifyUI& msg)
{
    const DuiLib::CDuiString name = msg.pSender ? msg.pSender->GetName() : DuiLib::CDuiString();
    if (msg.sType == DUI_MSGTYPE_CLICK) {
        if (name == "run_btn") {
            BuildConvertCommand(m_format, m_quality);
        } else if (name == "cancel_btn") {
            m_cancelled = 1;
            CancelConversion();
            ShowSettingsPage();
            Show(m_outputButton, false);
            Show(m_outputTitle, false);
            // Until the converter has really gone.
            if (m_runButton) m_runButton->SetEnabled(!ConversionRunning());
        } else if (name == "select_output_path_btn") {
            ChooseOutputFolder();
        } else if (name == "output_file_btn") {
            ShowFileInExplorer(m_output);
        } else if (name == "select_video_btn") {
            ChooseInput();
        } else {
            SkinWindow::OnNotify(msg);
        }
    } else if (msg.sType == DUI_MSGTYPE_SELECTCHANGED && msg.pSender && m_initialised) {
        auto* option = static_cast<DuiLib::COptionUI*>(msg.pSender);
        if (!option->IsSelected()) return;
        if (name.Find("format_") >= 0) {
            m_format = (int)msg.pSender->GetTag();
            UpdateOutputExtension(m_format);
            ShowOutputPath();
        } else if (name.Find("qulity_") >= 0) {
            m_quality = (int)msg.pSender->GetTag();
        }
    }
}

LRESULT FormatConvertWindow::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam,
                                                 BOOL& bHandled)
{
    if (uMsg == WM_CONVERT_PROGRESS) {
        bHandled = TRUE;
        OnProgress();
        return 0;
    }
    if (uMsg == WM_CONVERT_DONE) {
        bHandled = TRUE;
        if (lParam) OnDone(*reinterpret_cast<const ConvertOutcome*>(lParam));
        return 0;
    }
    return SkinWindow::HandleCustomMessage(uMsg, wParam, lParam, bHandled);
}
