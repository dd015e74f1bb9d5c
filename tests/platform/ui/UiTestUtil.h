// Helpers shared by the UI library's tests.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/ui/UIlib.h"

namespace uitest {

// Runs the thread's messages until done() holds; false on timeout.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000)
{
    DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!DuiLib::CPaintManagerUI::TranslateMessage(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        if (done()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

inline void PumpFor(DWORD ms)
{
    DWORD start = GetTickCount();
    PumpUntil([&] { return GetTickCount() - start >= ms; }, ms + 1000);
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

}  // namespace uitest
