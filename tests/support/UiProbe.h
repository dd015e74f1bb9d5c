// Reads and clicks controls of a running program's UI-library windows by
// name, from another process (the program must be a test build). See
// platform/ui/UIProbeProtocol.h.
//
//   testkit::UiProbe probe;
//   testkit::UiControl c = probe.Query(mainWnd, "record_time_lb");
//   EXPECT_TRUE(c.shown); EXPECT_EQ("00:00:00", c.text);
//   probe.Click(mainWnd, "closebtn");
#pragma once

#include <windows.h>

#include <map>
#include <string>

namespace testkit {

struct UiControl {
    bool answered = false;  // the window replied at all
    bool found = false;
    bool visible = false;  // its own flag
    bool shown = false;    // visible with all its containers
    bool enabled = false;
    std::string text;                           // in the program's code page (GBK)
    RECT pos = {0, 0, 0, 0};                    // client coordinates of its window
    std::map<std::string, std::string> fields;  // everything sent (class, tooltip, bkimage,
                                                // tag, bkcolor, bordercolor, textcolor,
                                                // selected, value, cursel, count, row.N)
};

class UiProbe {
public:
    UiProbe();
    ~UiProbe();
    UiProbe(const UiProbe&) = delete;
    UiProbe& operator=(const UiProbe&) = delete;

    UiControl Query(HWND window, const std::string& name, DWORD timeoutMs = 5000);
    // Posts a left click at the control's centre; false when not found.
    // "list#3" names row 3 of the list (or combo) "list".
    bool Click(HWND window, const std::string& name, DWORD timeoutMs = 5000);
    bool DoubleClick(HWND window, const std::string& name, DWORD timeoutMs = 5000);
    bool RightClick(HWND window, const std::string& name, DWORD timeoutMs = 5000);
    // Types text (GBK) into an edit as a keyboard does; "\n" presses Enter.
    // False when the control is not an enabled edit.
    bool Type(HWND window, const std::string& name, const std::string& text,
              DWORD timeoutMs = 5000);
    // Chooses row `index` of a list or combo, or the row showing `text`, as
    // a user's choice does (with "itemselect"). False when there is none.
    bool Select(HWND window, const std::string& name, int index, DWORD timeoutMs = 5000);
    bool Select(HWND window, const std::string& name, const std::string& text,
                DWORD timeoutMs = 5000);
    // Polls until pred(control) holds or the time is up; the last answer.
    template <class Pred>
    UiControl WaitFor(HWND window, const std::string& name, Pred pred, DWORD timeoutMs = 5000)
    {
        DWORD start = GetTickCount();
        for (;;) {
            UiControl c = Query(window, name);
            if (pred(c) || GetTickCount() - start >= timeoutMs) return c;
            Sleep(20);
        }
    }

    // Any window that answers in the probe's reply format: sends the
    // registered message `message` with this probe's reply window as wParam
    // and op as lParam; the fields of the reply, empty when none came.
    std::map<std::string, std::string> AskWindow(HWND window, const char* message, LPARAM op,
                                                 DWORD timeoutMs = 5000);

private:
    static std::map<std::string, std::string> ParseFields(const std::string& payload);
    UiControl Ask(HWND window, const std::string& name, unsigned op, DWORD timeoutMs,
                  const std::string& argument = std::string());
    static LRESULT CALLBACK ReplyProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

    HWND reply_ = nullptr;
    std::string payload_;
    bool got_ = false;
};

}  // namespace testkit
