// The camera preview's DirectShow graph: the capture filter of a video
// input device connected to a Video Mixing Renderer that draws, windowless,
// into a rectangle of a window of ours.
//
//   CVMR_Capture capture;
//   HRESULT hr = capture.Init(0, hwnd);   // S_OK: the picture runs
//   capture.SelectCaptureFormat(hwnd, clientWidth, clientHeight);
//   capture.CloseInterfaces();            // also done by the destructor
//
// UI thread only (the graph lives in its apartment).
#pragma once

#include <windows.h>

#include <dshow.h>
#include <wrl/client.h>

class CVMR_Capture {
public:
    // What Init returns when there is no such device (the value of
    // S_FALSE: ask Running() whether the graph runs).
    static constexpr HRESULT kNoDevice = 1;

    CVMR_Capture() = default;
    virtual ~CVMR_Capture();
    CVMR_Capture(const CVMR_Capture&) = delete;
    CVMR_Capture& operator=(const CVMR_Capture&) = delete;

    // Builds the graph of the device (0: the first video input device)
    // drawing into hwnd and runs it. When it runs, what Run returned;
    // otherwise kNoDevice when the index is negative or no device has it,
    // or the DirectShow failure. A graph that does not run is released at
    // once; a graph built before is released first.
    HRESULT Init(int deviceIndex, HWND hwnd);

    // Asks the device for a format of exactly that size when it offers one
    // (whether it takes it is its own matter), reads back the format it
    // delivers, and places the picture in hwnd's client area below nothing
    // (CameraPictureRect without the caption). S_OK without a graph.
    HRESULT SelectCaptureFormat(HWND hwnd, int width, int height);

    // Places the picture at a rectangle of the window's client area.
    HRESULT SetVideoPosition(const RECT& dest);

    // Stops the graph and releases every interface, in whatever state the
    // graph is; safe to call again.
    void CloseInterfaces();

    bool Running() const { return m_nState == kRunning; }
    // The format the device delivers (0 before a graph was built).
    int CaptureWidth() const { return m_nWidth; }
    int CaptureHeight() const { return m_nHeight; }
    // Where the picture was last placed (empty while there is no graph).
    RECT VideoRect() const { return m_rcVideo; }
    // The graph and the renderer, for whoever must look inside (tests).
    IGraphBuilder* Graph() const { return m_pGB.Get(); }
    IVMRWindowlessControl* Windowless() const { return m_pWC.Get(); }

private:
    static constexpr int kStopped = 0;
    static constexpr int kRunning = 2;

    // Init's steps; on failure whatever was built is left for Init to
    // release.
    HRESULT BuildGraph(int deviceIndex, HWND hwnd);
    HRESULT InitVideoWindow(HWND hwnd);
    // The device's filter; false when there is none at that index.
    bool BindDeviceByIndex(int index, IBaseFilter** filter);
    // The first pin of the filter in that direction, or null.
    static Microsoft::WRL::ComPtr<IPin> FindPin(IBaseFilter* filter, PIN_DIRECTION direction);

    Microsoft::WRL::ComPtr<IGraphBuilder> m_pGB;
    Microsoft::WRL::ComPtr<IMediaControl> m_pMC;
    Microsoft::WRL::ComPtr<IVMRWindowlessControl> m_pWC;
    Microsoft::WRL::ComPtr<IPin> m_pCamOutPin;
    Microsoft::WRL::ComPtr<IBaseFilter> m_pDF;
    int m_nState = kStopped;
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nDevice = 0;
    RECT m_rcVideo = {0, 0, 0, 0};
};
