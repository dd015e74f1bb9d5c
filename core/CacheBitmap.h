// The one screen-copy cache bitmap.
#pragma once

#include <windows.h>

// Null at start; replaced by every CopyDcRectToCacheBitmap (the previous one
// is deleted first); UI thread only.
extern HBITMAP g_hCacheBitmap;

// Copies the rectangle (x, y, width, height) of source into a new bitmap
// compatible with source, drawn through target, and keeps it in
// g_hCacheBitmap.
void CopyDcRectToCacheBitmap(HDC source, HDC target, int x, int y, int width, int height);
