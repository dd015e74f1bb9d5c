// FormatConvertWindow: converts one video into one of twelve formats at one
// of four qualities (library/FormatConvert.h decides the options, paths and
// outcome; library/ConvertRun.h runs the converter). The settings page
// ("main_layout") shows while nothing runs, the progress page
// ("cover_layout") while the converter runs; afterwards the output button
// shows the file in Explorer, or the page says why the conversion failed.
#pragma once

#include "kit/SkinWindow.h"
#include "library/FormatConvert.h"

#include <string>
#include <vector>

class FormatConvertWindow : public SkinWindow {
public:
    // Creates and shows the window, centred; (x, y) is where it was asked
    // for and is not used for placement.
    FormatConvertWindow(HWND parent, int x, int y, const std::string& videoFile);

    // Starts converting the input; false when there is no input (the user
    // is told) or a conversion still runs.
    bool BuildConvertCommand(int format, int quality);
    void SetDefaultOutputPath();
    void UpdateOutputExtension(int format);

protected:
    LPCSTR GetWindowClassName() const override { return "FormatConvertWindow"; }
    void OnWindowInit() override;
    void OnNotify(DuiLib::TNotifyUI& msg) override;
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;

private:
    void ShowOutputPath();
    void ShowInputPath();
    void ShowSettingsPage();
    void ShowResult(const std::string& text);
    void OnProgress();
    void OnDone(const ConvertOutcome& outcome);
    void ChooseInput();
    void ChooseOutputFolder();

    int m_x;
    int m_y;
    int m_format = 0;
    int m_quality = 1;
    std::string m_input;
    ConvertTarget m_target;
    // The file the converter writes (the target, or a free name beside it).
    std::string m_output;
    int m_cancelled = 0;
    // Set at the end of "windowinit"; the options' events before it are
    // the layout's own preselection.
    bool m_initialised = false;
    std::vector<DuiLib::COptionUI*> m_formatOptions;
    std::vector<DuiLib::COptionUI*> m_qualityOptions;
    DuiLib::CControlUI* m_cover = nullptr;
    DuiLib::CControlUI* m_main = nullptr;
    DuiLib::CControlUI* m_inputLabel = nullptr;
    DuiLib::CControlUI* m_outputButton = nullptr;
    DuiLib::CControlUI* m_outputTitle = nullptr;
    DuiLib::CControlUI* m_runButton = nullptr;
    DuiLib::CControlUI* m_result = nullptr;
    DuiLib::CControlUI* m_timeLabel = nullptr;
    DuiLib::CControlUI* m_bitrateLabel = nullptr;
    DuiLib::CControlUI* m_percentLabel = nullptr;
};
