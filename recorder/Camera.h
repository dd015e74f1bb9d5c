// The screen-capture engine: grabs the capture rectangle once per frame,
// paints the overlays (watermark, caption, cursor with its highlight, click
// rings) and turns the result into the 24-bit bottom-up DIB the AVI stream
// takes.
//
// A recording, in order:
//   UI thread, before the recording thread starts:
//     g_camera.CopyOverlaySettings();   // settings + watermark picture
//   recording thread:
//     g_camera.CaptureFrame(rc, true);  // first frame: fixes the frame size
//     g_camera.FrameHeader(), FrameHeaderSize(), FrameBits(), FrameImageSize()
//     g_camera.CaptureFrame(rc, false); // every further frame, same size
//     ...
//     g_camera.EndRecording();          // frees the DCs, DIBs, GDI+ objects
// The frame image stays valid until the next CaptureFrame or
// CaptureTestFrame.
#pragma once

#include "recorder/CamCursor.h"
#include "recorder/FrameImage.h"
#include "recorder/FrameSurface.h"
#include "recorder/OverlaySettings.h"
#include "recorder/overlays/CaptionOverlay.h"
#include "recorder/overlays/ClickEffectsOverlay.h"
#include "recorder/overlays/CursorOverlay.h"
#include "recorder/overlays/Sprite.h"
#include "recorder/overlays/WatermarkOverlay.h"

#include <windows.h>

#include <memory>
#include <string>

class GdiplusSession;

// Where the last CaptureFrame spent its time, in milliseconds.
struct FrameTimings {
    double grabMs = 0;
    double overlaysMs = 0;
    double convertMs = 0;
};

class CCamera {
public:
    CCamera();
    virtual ~CCamera();
    CCamera(const CCamera&) = delete;
    CCamera& operator=(const CCamera&) = delete;

    // --- Start of a recording (settings are frozen from here on) ---
    // The global watermark flag and record into the engine.
    void CopyWatermarkSettings();
    // Decodes the engine's watermark picture. false (no watermark, empty
    // stored path) for a missing, corrupt or unknown picture.
    bool LoadWatermarkImage();
    // The global caption flag and record into the engine.
    void CopyCaptionSettings();
    // The global cursor settings into the engine.
    void CopyCursorSettings();
    // The four above, in that order.
    void CopyOverlaySettings();

    // --- Frames ---
    // Grabs rcCapture (screen coordinates; an odd width or height loses its
    // last column or row), zoomed when a zoom runs, stretched to the first
    // frame's size when it has another size, with the overlays. first makes
    // this frame the first of a recording. false only when no frame could
    // be made (empty rectangle, out of resources).
    bool CaptureFrame(const RECT& rcCapture, bool first);
    // A bare grab of rc without overlays, for the compressor test; not
    // during a recording.
    bool CaptureTestFrame(const RECT& rc);
    void BeginFrameRect(const RECT& rcCapture);
    bool GrabFrame(const RECT& rcGrab);
    bool GrabFramePlain(const RECT& rc);
    // The recording is over: frees what it held. The frame image stays.
    void EndRecording();

    const FrameImage& Frame() const { return m_frameImage; }
    const BITMAPINFOHEADER* FrameHeader() const { return m_frameImage.Header(); }
    DWORD FrameHeaderSize() const { return m_frameImage.HeaderSize(); }
    const BYTE* FrameBits() const { return m_frameImage.Bits(); }
    DWORD FrameImageSize() const { return m_frameImage.ImageSize(); }
    const FrameTimings& LastTimings() const { return m_timings; }
    // Width of the caption as drawn in this recording (0 without one).
    int CaptionWidth() const { return m_captionOverlay.TextWidth(); }

    RECT m_rcFirstFrame;             // the capture rectangle of the first frame: the frame size
    FrameImage m_frameImage;         // the last frame, 24-bit bottom-up
    Sprite m_watermarkImage;         // the decoded watermark picture
    std::string m_strWatermarkPath;  // empty when no picture could be loaded
    RECT m_rcCapture;                // screen: what this frame records
    RECT m_rcGrab;                   // screen: what was copied (smaller while zooming)
    RECT m_rcFrame;                  // {0, 0, frame width, frame height}: the frame written
    CCamCursor m_cursor;
    BOOL m_bCaptionEnabled;
    CaptionSettings m_caption;
    BYTE m_bWatermarkEnabled;
    WatermarkSettings m_watermark;

private:
    bool BeginRecording(int width, int height);
    void ReleaseRecording();

    std::unique_ptr<GdiplusSession> m_gdiplus;
    HDC m_screenDc = nullptr;
    FrameSurface m_surface;     // the frame being painted, 32-bit
    FrameSurface m_zoomSource;  // the magnified part before it is scaled up
    WatermarkOverlay m_watermarkOverlay;
    CaptionOverlay m_captionOverlay;
    CursorOverlay m_cursorOverlay;
    ClickEffectsOverlay m_clickOverlay;
    FrameOverlay* m_overlays[4];  // those on in this recording, in painting order
    int m_overlayCount = 0;
    bool m_recording = false;
    FrameTimings m_timings;
};

extern CCamera g_camera;
