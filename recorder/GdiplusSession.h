// Keeps GDI+ started while an object holds it. The program starts GDI+ once
// for its whole life; the engine holds a session of its own besides, so its
// GDI+ objects never outlive GDI+ whatever order statics end in.
#pragma once

#include <windows.h>

#include <gdiplus.h>

class GdiplusSession {
public:
    GdiplusSession();
    ~GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

    bool Ok() const { return m_token != 0; }

private:
    ULONG_PTR m_token = 0;
};
