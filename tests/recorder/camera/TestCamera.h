// The test camera: a DirectShow video capture filter of the tests' own
// (orbisk_test_camera.dll), registered in the test prefix as a video input
// device so the program finds it exactly as it finds a real camera. It pushes
// a moving test pattern in RGB32 at a few sizes and keeps what it saw in a
// block of shared memory that every process of the prefix can read: the
// tests watch it from outside the program, where the filter runs.
//
//   TestCameraRegistration camera;        // registered until it goes
//   TestCameraStats* s = OpenTestCameraStats();
//   ... s->samplesDelivered ...
#pragma once

#include <windows.h>

// {6F0A3C2E-5B1D-4E8A-9C47-2D3B1E0F9A11}
static const CLSID CLSID_OrbiskTestCamera = {
    0x6f0a3c2e, 0x5b1d, 0x4e8a, {0x9c, 0x47, 0x2d, 0x3b, 0x1e, 0x0f, 0x9a, 0x11}};

#define TEST_CAMERA_NAME L"Orbisk Test Camera"
#define TEST_CAMERA_DLL "orbisk_test_camera.dll"

// The sizes the camera offers, all RGB32; the first is its format until
// someone sets another.
struct TestCameraSize {
    int width, height;
};
static const TestCameraSize kTestCameraSizes[] = {{640, 480}, {320, 240}, {160, 120}};
static const int kTestCameraFrameMs = 40;

// The quarters of the pattern, top left, top right, bottom left, bottom
// right (0x00RRGGBB), over the top three quarters of the picture; the
// bottom quarter is black with a white block that moves every frame.
static const unsigned kTestCameraColours[4] = {0xE02020, 0x20C040, 0x2040E0, 0xF0D020};

struct TestCameraStats {
    volatile LONG liveObjects;       // COM objects of the DLL (filters, enumerators, factories)
    volatile LONG filtersMade;       // filters ever made (a device bound to a filter)
    volatile LONG streamingThreads;  // threads pushing frames
    volatile LONG samplesDelivered;  // samples the downstream pin took (Receive S_OK)
    volatile LONG runs;              // times streaming started
    volatile LONG formatRequests;    // IAMStreamConfig::SetFormat calls with a format
    volatile LONG requestedWidth;    // the size of the last one
    volatile LONG requestedHeight;
    volatile LONG currentWidth;  // the format the pin delivers (or will)
    volatile LONG currentHeight;
    volatile LONG connected;         // the output pin is connected
    volatile LONG refuseConnection;  // set by a test: a camera whose pin connects to nothing
};

// The block shared by every process of the prefix (created zeroed by the
// first one); null on failure. Lives until the process ends.
inline TestCameraStats* OpenTestCameraStats()
{
    static TestCameraStats* stats = [] {
        HANDLE h = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      sizeof(TestCameraStats), "OrbiskTestCameraStats");
        if (!h) return (TestCameraStats*)nullptr;
        return (TestCameraStats*)MapViewOfFile(h, FILE_MAP_ALL_ACCESS, 0, 0,
                                               sizeof(TestCameraStats));
    }();
    return stats;
}
