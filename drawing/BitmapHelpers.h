// Bitmaps of the screen, shared by every surface that picks a part of the
// screen or saves a screenshot: grabs of the desktop, the dimming mask the
// full-screen selectors lay over the frozen desktop, the window under the
// cursor, copies and crops, and PNG files through GDI+.
//
// No state. Every HBITMAP returned is new and the caller's to delete; a
// failed GDI call gives a null bitmap rather than an error. Paths are ANSI
// (GBK) text. GDI+ must have been started by the program.
#pragma once

#include <windows.h>

#include <string>

// Index of the PNG encoder among GDI+'s image encoders, its CLSID in *clsid;
// -1 (and *clsid untouched) when GDI+ offers none.
int FindPngEncoderClsid(CLSID* clsid);

// The rectangle of a bitmap as a PNG file. The bitmap stays the caller's.
bool SaveBitmapRectAsPng(HBITMAP source, const RECT* rect, const std::string& path);
// A rectangle of a device context as a PNG file; the three differ in the
// point of the source copied to the file's top left:
//   SaveWindowRectAsPng       (0, 0), the rectangle's size (its left and top
//                             are 0 for the callers: the whole client area);
//   SaveWindowRectAtAsPng     (x, y);
//   SaveWindowRectOffsetAsPng the rectangle's own left and top.
bool SaveWindowRectAsPng(HDC source, const RECT* rect, const std::string& path);
bool SaveWindowRectAtAsPng(HDC source, const RECT* rect, int x, int y, const std::string& path);
bool SaveWindowRectOffsetAsPng(HDC source, const RECT* rect, const std::string& path);

// The desktop window's area, layered windows included.
HBITMAP GrabDesktopBitmap();
// An area of the screen in screen coordinates, layered windows included.
HBITMAP GrabScreenRectBitmap(int x, int y, int width, int height);
// A rectangle (client coordinates) of what the window itself shows: not
// whatever lies over it on the screen.
HBITMAP GrabWindowRectBitmap(HWND window, const RECT& rect);

// Translucent black (ARGB 0x4F000000) over the desktop window's size, as a
// 32-bit bitmap whose alpha the selectors blend with.
HBITMAP CreateDimMaskBitmap(HWND window);

// The deepest window under the cursor, skipping hidden and disabled
// top-level windows (and hidden children): its screen rectangle goes to
// *rect. Null, with *rect untouched, when there is none. A full-screen
// selector disables itself around the call so that it is passed through.
HWND FindWindowUnderCursor(RECT* rect);

// A copy of the whole bitmap.
HBITMAP CopyBitmap(HBITMAP source);
// The rectangle (left, top)-(right, bottom) of source; null when it is
// empty.
HBITMAP CropBitmap(HBITMAP source, int left, int top, int right, int bottom);
