// Helpers shared by the UI library's tests.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "TestKit.h"
#include "platform/ui/UIlib.h"

namespace uitest {

inline bool TranslateUi(MSG* msg)
{
    return DuiLib::CPaintManagerUI::TranslateMessage(msg);
}

// Runs the thread's messages (through the library's translation) until
// done() holds; false on timeout.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000)
{
    return testkit::PumpUntil(done, timeoutMs, TranslateUi);
}

inline void PumpFor(DWORD ms)
{
    testkit::Pump(ms, TranslateUi);
}

// Collects what the library logs as errors while it lives.
class LogCapture {
public:
    LogCapture()
    {
        previous_ = DuiLib::SetUiLogSink(&LogCapture::Sink);
        Lines().clear();
    }
    ~LogCapture() { DuiLib::SetUiLogSink(previous_); }
    const std::vector<std::string>& lines() const { return Lines(); }
    bool Contains(const std::string& part) const
    {
        for (auto& l : Lines())
            if (l.find(part) != std::string::npos) return true;
        return false;
    }

private:
    static std::vector<std::string>& Lines()
    {
        static std::vector<std::string> lines;
        return lines;
    }
    static void Sink(LPCSTR msg) { Lines().push_back(msg); }
    DuiLib::UiLogSink previous_;
};

// A 32-bit top-down DIB with a DC, for golden-pixel checks.
class Surface {
public:
    Surface(int cx, int cy, DWORD fill = 0) : cx_(cx), cy_(cy)
    {
        image_ = DuiLib::CreateImage(cx, cy);
        dc_ = CreateCompatibleDC(nullptr);
        old_ = SelectObject(dc_, image_->hBitmap);
        Fill(fill);
    }
    ~Surface()
    {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
        DuiLib::FreeImage(image_);
    }
    HDC dc() const { return dc_; }
    void Fill(DWORD argb)
    {
        GdiFlush();
        auto* p = reinterpret_cast<DWORD*>(image_->pBits);
        for (int i = 0; i < cx_ * cy_; ++i) p[i] = argb;
    }
    DWORD At(int x, int y) const
    {
        GdiFlush();
        return reinterpret_cast<const DWORD*>(image_->pBits)[y * cx_ + x];
    }
    void Set(int x, int y, DWORD argb)
    {
        reinterpret_cast<DWORD*>(image_->pBits)[y * cx_ + x] = argb;
    }
    int width() const { return cx_; }
    int height() const { return cy_; }

private:
    int cx_, cy_;
    DuiLib::TImageInfo* image_;
    HDC dc_;
    HGDIOBJ old_;
};

// One notification as a window saw it.
struct Note {
    std::string type;
    std::string sender;  // name
    std::string text;    // the sender's text then
    DuiLib::CControlUI* pSender;
    WPARAM wParam;
    LPARAM lParam;
};

// A skinned window from the test package that writes down every
// notification (the tests of the newer controls use it).
class RecordingWindow : public DuiLib::WindowImplBase {
public:
    explicit RecordingWindow(const char* file) : file_(file) {}

    std::vector<Note> notes;
    std::function<void(DuiLib::TNotifyUI&)> onNotify;
    bool initialised = false;

    DuiLib::CPaintManagerUI& pm() { return m_PaintManager; }
    template <class T = DuiLib::CControlUI>
    T* Find(const char* name)
    {
        return static_cast<T*>(m_PaintManager.FindControl(name));
    }
    int Count(const std::string& type, const std::string& sender = "") const
    {
        int n = 0;
        for (auto& note : notes)
            if (note.type == type && (sender.empty() || note.sender == sender)) ++n;
        return n;
    }
    const Note* Last(const std::string& type) const
    {
        for (auto it = notes.rbegin(); it != notes.rend(); ++it)
            if (it->type == type) return &*it;
        return nullptr;
    }

protected:
    LPCSTR GetWindowClassName() const override { return "OrbiskUiRecordingWindow"; }
    DuiLib::CDuiString GetSkinFile() override { return file_; }
    DuiLib::UILIB_RESOURCETYPE GetResourceType() const override
    {
        return DuiLib::UILIB_ZIPRESOURCE;
    }
    LPCSTR GetResourceID() const override { return MAKEINTRESOURCEA(130); }
    void Notify(DuiLib::TNotifyUI& msg) override
    {
        if (msg.sType == DUI_MSGTYPE_WINDOWINIT) initialised = true;
        notes.push_back({msg.sType.Str(), msg.pSender ? msg.pSender->GetName().Str() : "",
                         msg.pSender ? msg.pSender->GetText().Str() : "", msg.pSender, msg.wParam,
                         msg.lParam});
        if (onNotify) onNotify(msg);
        WindowImplBase::Notify(msg);
    }

private:
    DuiLib::CDuiString file_;
};

// Opens a RecordingWindow at (x, y) and waits for "windowinit". The
// caller deletes it (after its window is gone or destroyed).
inline RecordingWindow* OpenRecordingWindow(const char* file, int x = 100, int y = 100,
                                            DWORD exStyle = 0)
{
    auto* w = new RecordingWindow(file);
    HWND h = w->Create(nullptr, "控件测试", 0x96C80000, exStyle, x, y, 0, 0);
    if (!h) {
        delete w;
        return nullptr;
    }
    PumpUntil([&] { return w->initialised; }, 3000);
    UpdateWindow(h);
    return w;
}

inline POINT Centre(DuiLib::CControlUI* p)
{
    const RECT& r = p->GetPos();
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Left click by posted messages at a client point, then the messages run.
inline void PostClick(HWND h, POINT pt)
{
    LPARAM at = MAKELPARAM(pt.x, pt.y);
    PostMessageA(h, WM_MOUSEMOVE, 0, at);
    PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(h, WM_LBUTTONUP, 0, at);
    PumpFor(50);
}

inline void PostDoubleClick(HWND h, POINT pt)
{
    LPARAM at = MAKELPARAM(pt.x, pt.y);
    PostMessageA(h, WM_MOUSEMOVE, 0, at);
    PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(h, WM_LBUTTONUP, 0, at);
    PostMessageA(h, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageA(h, WM_LBUTTONUP, 0, at);
    PumpFor(50);
}

}  // namespace uitest
