// Device contexts and selections that undo themselves, so that an early
// return leaves no DC or selected bitmap behind.
#pragma once

#include <windows.h>

#include <utility>

namespace orbisk {

// A memory DC compatible with another DC (the screen for null).
class MemoryDc {
public:
    explicit MemoryDc(HDC compatibleWith) : m_dc(CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDc()
    {
        if (m_dc) DeleteDC(m_dc);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;

    HDC Get() const { return m_dc; }
    explicit operator bool() const { return m_dc != nullptr; }

private:
    HDC m_dc;
};

// The DC of a window (the whole screen for null), released on the way out.
class WindowDc {
public:
    explicit WindowDc(HWND window) : m_window(window), m_dc(GetDC(window)) {}
    ~WindowDc()
    {
        if (m_dc) ReleaseDC(m_window, m_dc);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC Get() const { return m_dc; }
    explicit operator bool() const { return m_dc != nullptr; }

private:
    HWND m_window;
    HDC m_dc;
};

// Selects an object into a DC and puts the previous one back.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object)
        : m_dc(dc), m_old(dc && object ? SelectObject(dc, object) : nullptr)
    {
    }
    ~Selection()
    {
        if (m_old) SelectObject(m_dc, m_old);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

    // False when the object could not be selected (a bitmap already
    // selected into another DC, for one).
    bool Ok() const { return m_old != nullptr; }

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// A bitmap that is deleted unless it is handed on with Release.
class UniqueBitmap {
public:
    UniqueBitmap() = default;
    explicit UniqueBitmap(HBITMAP bitmap) : m_bitmap(bitmap) {}
    ~UniqueBitmap()
    {
        if (m_bitmap) DeleteObject(m_bitmap);
    }
    UniqueBitmap(const UniqueBitmap&) = delete;
    UniqueBitmap& operator=(const UniqueBitmap&) = delete;

    HBITMAP Get() const { return m_bitmap; }
    HBITMAP Release() { return std::exchange(m_bitmap, nullptr); }
    void Reset(HBITMAP bitmap)
    {
        if (m_bitmap) DeleteObject(m_bitmap);
        m_bitmap = bitmap;
    }
    explicit operator bool() const { return m_bitmap != nullptr; }

private:
    HBITMAP m_bitmap = nullptr;
};

}  // namespace orbisk
