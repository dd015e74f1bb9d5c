#include "recorder/GdiplusSession.h"

GdiplusSession::GdiplusSession()
{
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&m_token, &input, nullptr) != Gdiplus::Ok) m_token = 0;
}

GdiplusSession::~GdiplusSession()
{
    if (m_token) Gdiplus::GdiplusShutdown(m_token);
}
