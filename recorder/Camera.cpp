#include "recorder/Camera.h"

#include "recorder/FrameGeometry.h"
#include "recorder/GdiplusSession.h"
#include "recorder/GrabLayered.h"
#include "recorder/Zoom.h"

#include <algorithm>
#include <atomic>

namespace {

double NowMs()
{
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return (double)f.QuadPart;
    }();
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return c.QuadPart * 1000.0 / frequency;
}

std::atomic<int> g_layeredGrabs{0};

// The raster operation of a frame's grab.
DWORD GrabRop()
{
    return GrabsLayeredWindows() ? (SRCCOPY | CAPTUREBLT) : SRCCOPY;
}

}  // namespace

void SetGrabLayeredWindows(bool on)
{
    if (on) {
        ++g_layeredGrabs;
    } else {
        int n = g_layeredGrabs.load();
        while (n > 0 && !g_layeredGrabs.compare_exchange_weak(n, n - 1)) {
        }
    }
}

bool GrabsLayeredWindows()
{
    return g_layeredGrabs.load() > 0;
}

CCamera g_camera;

CCamera::CCamera()
    : m_rcFirstFrame(),
      m_rcCapture(),
      m_rcGrab(),
      m_rcFrame(),
      m_bCaptionEnabled(FALSE),
      m_bWatermarkEnabled(0),
      m_overlays()
{
}

CCamera::~CCamera()
{
    ReleaseRecording();
}

void CCamera::CopyWatermarkSettings()
{
    m_bWatermarkEnabled = g_bWatermarkEnabled;
    m_watermark = g_watermarkSettings;
}

bool CCamera::LoadWatermarkImage()
{
    m_watermarkImage.Clear();
    m_strWatermarkPath = m_watermark.imagePath;
    if (!DecodeWatermark(m_strWatermarkPath, m_watermarkImage)) {
        m_strWatermarkPath.clear();
        return false;
    }
    return true;
}

void CCamera::CopyCaptionSettings()
{
    m_bCaptionEnabled = g_captionSettings.enabled != 0;
    m_caption = g_captionSettings;
}

void CCamera::CopyCursorSettings()
{
    m_cursor = g_cursorSettings;
}

void CCamera::CopyOverlaySettings()
{
    CopyWatermarkSettings();
    LoadWatermarkImage();
    CopyCaptionSettings();
    CopyCursorSettings();
}

bool CCamera::CaptureFrame(const RECT& rcCapture, bool first)
{
    const RECT capture = MakeEvenRect(rcCapture);
    if (RectWidth(capture) <= 0 || RectHeight(capture) <= 0) return false;
    const RECT grab = ZoomGrabRect(capture, g_dZoomFactor, g_ptZoomCenter);
    AdvanceZoom(GetTickCount(), g_dZoomFactor, g_dwZoomTick, g_ptZoomCenter);
    if (first || !m_recording) {
        m_rcFirstFrame = capture;
        if (!BeginRecording(RectWidth(capture), RectHeight(capture))) return false;
    }
    BeginFrameRect(capture);
    return GrabFrame(grab);
}

bool CCamera::CaptureTestFrame(const RECT& rc)
{
    const RECT capture = MakeEvenRect(rc);
    if (RectWidth(capture) <= 0 || RectHeight(capture) <= 0) return false;
    BeginFrameRect(capture);
    return GrabFramePlain(capture);
}

void CCamera::BeginFrameRect(const RECT& rcCapture)
{
    m_rcCapture = rcCapture;
    // Overlays go where the frame actually written has its edges: that is
    // the first frame's size for the whole recording.
    const RECT& size = m_recording ? m_rcFirstFrame : rcCapture;
    SetRect(&m_rcFrame, 0, 0, RectWidth(size), RectHeight(size));
}

bool CCamera::GrabFrame(const RECT& rcGrab)
{
    if (!m_recording || m_surface.Empty()) return false;
    m_rcGrab = rcGrab;
    const double t0 = NowMs();
    const int fw = m_surface.Width(), fh = m_surface.Height();
    const int gw = RectWidth(rcGrab), gh = RectHeight(rcGrab);
    if (gw != RectWidth(m_rcCapture) || gh != RectHeight(m_rcCapture)) {
        // Zooming: copy the small part, then scale it over the whole frame.
        Gdiplus::Graphics* g = m_surface.Graphics();
        // Made with the frame's size when the recording starts; only a
        // capture grown past twice that size needs a bigger one.
        if (gw > m_zoomSource.Width() || gh > m_zoomSource.Height())
            m_zoomSource.Create(std::max(gw, m_zoomSource.Width()),
                                std::max(gh, m_zoomSource.Height()));
        if (m_zoomSource.Bitmap() && g) {
            BitBlt(m_zoomSource.Dc(), 0, 0, gw, gh, m_screenDc, rcGrab.left, rcGrab.top, GrabRop());
            GdiFlush();
            g->SetInterpolationMode(Gdiplus::InterpolationModeBilinear);
            g->DrawImage(m_zoomSource.Bitmap(), Gdiplus::Rect(0, 0, fw, fh), 0, 0, gw, gh,
                         Gdiplus::UnitPixel);
        }
    } else if (gw != fw || gh != fh) {
        SetStretchBltMode(m_surface.Dc(), COLORONCOLOR);
        StretchBlt(m_surface.Dc(), 0, 0, fw, fh, m_screenDc, rcGrab.left, rcGrab.top, gw, gh,
                   GrabRop());
    } else {
        BitBlt(m_surface.Dc(), 0, 0, fw, fh, m_screenDc, rcGrab.left, rcGrab.top, GrabRop());
    }
    GdiFlush();
    const double t1 = NowMs();

    const FrameMapping mapping(rcGrab, fw, fh);
    for (int i = 0; i < m_overlayCount; ++i) m_overlays[i]->Draw(m_surface, mapping);
    GdiFlush();
    const double t2 = NowMs();

    m_frameImage.ConvertFrom(m_surface);
    const double t3 = NowMs();
    m_timings.grabMs = t1 - t0;
    m_timings.overlaysMs = t2 - t1;
    m_timings.convertMs = t3 - t2;
    return true;
}

bool CCamera::GrabFramePlain(const RECT& rc)
{
    m_rcGrab = rc;
    const int w = RectWidth(rc), h = RectHeight(rc);
    FrameSurface surface;
    HDC screen = GetDC(nullptr);
    bool ok = screen && surface.Create(w, h) && m_frameImage.Create(w, h);
    if (ok) {
        BitBlt(surface.Dc(), 0, 0, w, h, screen, rc.left, rc.top, SRCCOPY);
        GdiFlush();
        m_frameImage.ConvertFrom(surface);
    }
    if (screen) ReleaseDC(nullptr, screen);
    return ok;
}

bool CCamera::BeginRecording(int width, int height)
{
    ReleaseRecording();
    m_gdiplus.reset(new GdiplusSession);
    m_screenDc = GetDC(nullptr);
    // Everything the frames need is made here, so that grabbing them
    // allocates nothing.
    if (!m_gdiplus->Ok() || !m_screenDc || !m_surface.Create(width, height) ||
        !m_surface.Graphics() || !m_zoomSource.Create(width, height) || !m_zoomSource.Bitmap() ||
        !m_frameImage.Create(width, height)) {
        ReleaseRecording();
        return false;
    }
    m_overlayCount = 0;
    if (m_bWatermarkEnabled && !m_watermarkImage.Empty()) {
        m_watermarkOverlay.Setup(&m_watermarkImage, m_watermark.position);
        m_overlays[m_overlayCount++] = &m_watermarkOverlay;
    }
    if (m_bCaptionEnabled && m_captionOverlay.Setup(m_caption))
        m_overlays[m_overlayCount++] = &m_captionOverlay;
    if (m_cursor.m_bDrawCursor) {
        m_cursorOverlay.Setup(m_cursor);
        m_overlays[m_overlayCount++] = &m_cursorOverlay;
    }
    if (m_cursor.m_bClickEffects) {
        m_clickOverlay.Setup(m_cursor);
        m_overlays[m_overlayCount++] = &m_clickOverlay;
    }
    m_recording = true;
    return true;
}

void CCamera::EndRecording()
{
    ReleaseRecording();
}

void CCamera::ReleaseRecording()
{
    m_recording = false;
    m_watermarkOverlay.Release();
    m_captionOverlay.Release();
    m_cursorOverlay.Release();
    m_clickOverlay.Release();
    m_overlayCount = 0;
    m_zoomSource.Release();
    m_surface.Release();
    if (m_screenDc) ReleaseDC(nullptr, m_screenDc);
    m_screenDc = nullptr;
    m_gdiplus.reset();
}
