#include "core/FileHelpers.h"
#include "drawing/BitmapHelpers.h"

#include "TestKit.h"

#include <gtest/gtest.h>
#include <objidl.h>
#include <gdiplus.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

class GdiplusEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&m_token, &input, nullptr);
    }
    void TearDown() override { Gdiplus::GdiplusShutdown(m_token); }

private:
    ULONG_PTR m_token = 0;
};
const auto* const kGdiplus = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

void Pump(DWORD ms)
{
    DWORD end = GetTickCount() + ms;
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(5);
    } while ((LONG)(end - GetTickCount()) > 0);
}

// A topmost popup of one colour at a screen rectangle.
class SolidWindow {
public:
    SolidWindow(const RECT& rc, COLORREF colour, DWORD exStyle = 0)
    {
        static bool registered = false;
        if (!registered) {
            WNDCLASSW wc = {};
            wc.lpfnWndProc = DefWindowProcW;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = L"OrbiskDrawingTestWindow";
            RegisterClassW(&wc);
            registered = true;
        }
        m_brush = CreateSolidBrush(colour);
        m_hwnd = CreateWindowExW(WS_EX_TOPMOST | exStyle, L"OrbiskDrawingTestWindow", L"", WS_POPUP,
                                 rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
        SetClassLongPtrW(m_hwnd, GCLP_HBRBACKGROUND, (LONG_PTR)m_brush);
        if (exStyle & WS_EX_LAYERED) SetLayeredWindowAttributes(m_hwnd, 0, 255, LWA_ALPHA);
        ShowWindow(m_hwnd, SW_SHOWNOACTIVATE);
        UpdateWindow(m_hwnd);
        Pump(150);
    }
    ~SolidWindow()
    {
        DestroyWindow(m_hwnd);
        DeleteObject(m_brush);
        Pump(50);
    }
    HWND Hwnd() const { return m_hwnd; }

private:
    HWND m_hwnd = nullptr;
    HBRUSH m_brush = nullptr;
};

struct Pixels {
    int width = 0, height = 0, bits = 0;
    std::vector<DWORD> argb;  // rows from the top
    DWORD At(int x, int y) const { return argb[(size_t)y * width + x]; }
    DWORD Rgb(int x, int y) const { return At(x, y) & 0xFFFFFF; }
};

Pixels Read(HBITMAP bitmap)
{
    Pixels p;
    BITMAP bm = {};
    if (!bitmap || !GetObjectA(bitmap, sizeof bm, &bm)) return p;
    p.width = bm.bmWidth;
    p.height = bm.bmHeight;
    p.bits = bm.bmBitsPixel;
    p.argb.resize((size_t)p.width * p.height);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = p.width;
    bi.bmiHeader.biHeight = -p.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, bitmap, 0, (UINT)p.height, p.argb.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    return p;
}

// A 32-bit bitmap painted pixel by pixel.
HBITMAP MakeBitmap(int w, int h, const std::function<DWORD(int, int)>& rgb)
{
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bm = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* px = static_cast<DWORD*>(bits);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) px[y * w + x] = rgb(x, y);
    return bm;
}

// Four quadrants of 40 x 30: red, green / blue, white.
DWORD Quadrant(int x, int y)
{
    static const DWORD colours[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
    return colours[(y >= 30) * 2 + (x >= 40)];
}

struct Bitmap {
    explicit Bitmap(HBITMAP h) : handle(h) {}
    ~Bitmap()
    {
        if (handle) DeleteObject(handle);
    }
    HBITMAP handle;
};

RECT DesktopRect()
{
    RECT rc;
    GetWindowRect(GetDesktopWindow(), &rc);
    return rc;
}

}  // namespace

TEST(ScreenGrab, DesktopAndRectangleShowAWindowOfKnownColourWhereItIs)
{
    const RECT at = {100, 120, 300, 270};
    SolidWindow red(at, RGB(255, 0, 0));
    RECT desk = DesktopRect();

    Bitmap whole(GrabDesktopBitmap());
    Pixels p = Read(whole.handle);
    ASSERT_EQ(p.width, desk.right - desk.left);
    ASSERT_EQ(p.height, desk.bottom - desk.top);
    for (POINT pt : {POINT{100, 120}, POINT{299, 269}, POINT{200, 200}})
        EXPECT_EQ(p.Rgb(pt.x, pt.y), 0xFF0000u) << pt.x << "," << pt.y;
    EXPECT_NE(p.Rgb(99, 119), 0xFF0000u);
    EXPECT_NE(p.Rgb(300, 270), 0xFF0000u);

    // Straddling the window's top-left corner.
    Bitmap part(GrabScreenRectBitmap(90, 110, 40, 30));
    Pixels q = Read(part.handle);
    ASSERT_EQ(q.width, 40);
    ASSERT_EQ(q.height, 30);
    EXPECT_NE(q.Rgb(9, 9), 0xFF0000u);
    EXPECT_EQ(q.Rgb(10, 10), 0xFF0000u);
    EXPECT_EQ(q.Rgb(39, 29), 0xFF0000u);

    EXPECT_EQ(GrabScreenRectBitmap(0, 0, 0, 10), nullptr);
    EXPECT_EQ(GrabScreenRectBitmap(0, 0, 10, -1), nullptr);
}

TEST(ScreenGrab, LayeredWindowsArePartOfThePicture)
{
    SolidWindow layered({400, 300, 460, 340}, RGB(0, 0, 255), WS_EX_LAYERED);
    Bitmap grab(GrabScreenRectBitmap(400, 300, 60, 40));
    Pixels p = Read(grab.handle);
    ASSERT_EQ(p.width, 60);
    EXPECT_EQ(p.Rgb(30, 20), 0x0000FFu);
}

TEST(DimMask, TranslucentBlackOverTheDesktopIn32Bits)
{
    SolidWindow anyWindow({10, 10, 50, 50}, RGB(0, 255, 0));
    Bitmap mask(CreateDimMaskBitmap(anyWindow.Hwnd()));
    ASSERT_NE(mask.handle, nullptr);
    BITMAP bm = {};
    ASSERT_TRUE(GetObjectA(mask.handle, sizeof bm, &bm));
    EXPECT_EQ(bm.bmBitsPixel, 32);
    RECT desk = DesktopRect();
    // The same area as the desktop grab the selectors show under it.
    EXPECT_EQ(bm.bmWidth, desk.right - desk.left);
    EXPECT_EQ(bm.bmHeight, desk.bottom - desk.top);
    Pixels p = Read(mask.handle);
    size_t wrong = 0;
    for (DWORD px : p.argb) wrong += px != 0x4F000000u;
    EXPECT_EQ(wrong, 0u) << "first pixel " << std::hex << p.argb[0];
}

TEST(BitmapCopy, CopyAndCropKeepPixelsAndSizes)
{
    Bitmap source(MakeBitmap(80, 60, Quadrant));

    Bitmap copy(CopyBitmap(source.handle));
    Pixels c = Read(copy.handle);
    ASSERT_EQ(c.width, 80);
    ASSERT_EQ(c.height, 60);
    for (int y = 0; y < 60; y += 7)
        for (int x = 0; x < 80; x += 9) ASSERT_EQ(c.Rgb(x, y), Quadrant(x, y)) << x << "," << y;
    // A copy, not the same pixels: painting the source leaves it alone.
    {
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, source.handle);
        PatBlt(dc, 0, 0, 80, 60, BLACKNESS);
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    EXPECT_EQ(Read(copy.handle).Rgb(0, 0), 0xFF0000u);

    Bitmap repainted(MakeBitmap(80, 60, Quadrant));
    Bitmap crop(CropBitmap(repainted.handle, 30, 20, 50, 45));
    Pixels k = Read(crop.handle);
    ASSERT_EQ(k.width, 20);
    ASSERT_EQ(k.height, 25);
    EXPECT_EQ(k.Rgb(0, 0), 0xFF0000u);
    EXPECT_EQ(k.Rgb(19, 0), 0x00FF00u);
    EXPECT_EQ(k.Rgb(0, 24), 0x0000FFu);
    EXPECT_EQ(k.Rgb(19, 24), 0xFFFFFFu);

    EXPECT_EQ(CropBitmap(repainted.handle, 10, 10, 10, 20), nullptr);
    EXPECT_EQ(CropBitmap(repainted.handle, 10, 10, 20, 5), nullptr);
    EXPECT_EQ(CropBitmap(nullptr, 0, 0, 5, 5), nullptr);
    EXPECT_EQ(CopyBitmap(nullptr), nullptr);
}

TEST(PngSave, EncoderIsFound)
{
    CLSID clsid = {};
    EXPECT_GE(FindPngEncoderClsid(&clsid), 0);
    // {557CF406-1A04-11D3-9A73-0000F81EF32E}
    EXPECT_EQ(clsid.Data1, 0x557CF406u);
}

// Every save decoded again by an independent decoder.
TEST(PngSave, SavedRectanglesDecodeToTheirPixels)
{
    std::string dir = testkit::MakeTempDir("png");
    // One bitmap to save, another selected into a DC to save from.
    Bitmap source(MakeBitmap(80, 60, Quadrant)), inDc(MakeBitmap(80, 60, Quadrant));
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, inDc.handle);

    struct Case {
        const char* name;
        std::function<bool(const std::string&)> save;
        int width, height;
        int dx, dy;  // source point of the file's (0, 0)
    };
    const RECT whole = {0, 0, 80, 60}, inner = {30, 20, 70, 50}, sized = {5, 5, 25, 15};
    const Case cases[] = {
        {"bitmap",
         [&](const std::string& p) { return SaveBitmapRectAsPng(source.handle, &inner, p); }, 40,
         30, 30, 20},
        {"window", [&](const std::string& p) { return SaveWindowRectAsPng(dc, &whole, p); }, 80, 60,
         0, 0},
        {"at", [&](const std::string& p) { return SaveWindowRectAtAsPng(dc, &sized, 35, 25, p); },
         20, 10, 35, 25},
        {"offset", [&](const std::string& p) { return SaveWindowRectOffsetAsPng(dc, &inner, p); },
         40, 30, 30, 20},
    };
    // A bitmap selected into a DC cannot be read elsewhere: no file rather
    // than a black one.
    EXPECT_FALSE(SaveBitmapRectAsPng(inDc.handle, &inner, dir + "\\held.png"));
    EXPECT_EQ(CopyBitmap(inDc.handle), nullptr);

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = dir + "\\" + c.name + ".png";
        ASSERT_TRUE(c.save(path));
        testkit::DecodedImage img = testkit::DecodeImage(path);
        ASSERT_EQ(img.width, c.width);
        ASSERT_EQ(img.height, c.height);
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x)
                ASSERT_EQ(img.At(x, y), Quadrant(x + c.dx, y + c.dy)) << x << "," << y;
    }
    SelectObject(dc, old);
    DeleteDC(dc);
}

TEST(PngSave, ChineseFileNameInTheAnsiCodePage)
{
    std::string dir = testkit::MakeTempDir("png");
    Bitmap source(MakeBitmap(16, 8, Quadrant));
    RECT rc = {0, 0, 16, 8};
    std::string path = dir + "\\截屏 测试.png";
    ASSERT_TRUE(SaveBitmapRectAsPng(source.handle, &rc, path));
    unsigned w = 0, h = 0;
    ASSERT_EQ(GetPNGWidthHeight(path.c_str(), &w, &h), kPngSizeOk);
    EXPECT_EQ(w, 16u);
    EXPECT_EQ(h, 8u);
    std::wstring wide(MAX_PATH, L'\0');
    wide.resize(MultiByteToWideChar(936, 0, path.c_str(), -1, &wide[0], MAX_PATH) - 1);
    EXPECT_NE(wide.find(L"\u622A\u5C4F \u6D4B\u8BD5.png"), std::wstring::npos);
    EXPECT_NE(GetFileAttributesW(wide.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(PngSave, EmptyRectanglesAndBadArgumentsWriteNothing)
{
    std::string dir = testkit::MakeTempDir("png");
    Bitmap source(MakeBitmap(20, 20, Quadrant));
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, source.handle);
    const RECT bad[] = {{5, 5, 5, 10}, {5, 5, 10, 5}, {10, 10, 5, 15}, {0, 0, -3, -3}};
    int n = 0;
    for (const RECT& rc : bad) {
        std::string path = dir + "\\bad" + std::to_string(n++) + ".png";
        EXPECT_FALSE(SaveBitmapRectAsPng(source.handle, &rc, path)) << n;
        EXPECT_FALSE(SaveWindowRectAsPng(dc, &rc, path)) << n;
        EXPECT_FALSE(SaveWindowRectAtAsPng(dc, &rc, 0, 0, path)) << n;
        EXPECT_FALSE(SaveWindowRectOffsetAsPng(dc, &rc, path)) << n;
        EXPECT_FALSE(testkit::FileExists(path)) << n;
    }
    RECT ok = {0, 0, 10, 10};
    EXPECT_FALSE(SaveBitmapRectAsPng(nullptr, &ok, dir + "\\null.png"));
    EXPECT_FALSE(SaveBitmapRectAsPng(source.handle, nullptr, dir + "\\null.png"));
    EXPECT_FALSE(SaveWindowRectAsPng(nullptr, &ok, dir + "\\null.png"));
    EXPECT_FALSE(SaveBitmapRectAsPng(source.handle, &ok, ""));
    EXPECT_FALSE(SaveBitmapRectAsPng(source.handle, &ok, dir + "\\missing\\folder.png"));
    EXPECT_FALSE(testkit::FileExists(dir + "\\null.png"));
    SelectObject(dc, old);
    DeleteDC(dc);
}

namespace {

// A top-level window with one child control filling its right half.
struct Parent {
    SolidWindow frame;
    HWND child;
    Parent(const RECT& rc, bool childEnabled) : frame(rc, RGB(200, 200, 0))
    {
        child = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, (rc.right - rc.left) / 2,
                                0, (rc.right - rc.left) / 2, rc.bottom - rc.top, frame.Hwnd(),
                                nullptr, nullptr, nullptr);
        EnableWindow(child, childEnabled);
        Pump(50);
    }
};

}  // namespace

TEST(WindowUnderCursor, DescendsIntoChildrenAndPassesHiddenAndDisabledWindows)
{
    Parent below({500, 400, 700, 500}, /*childEnabled=*/false);
    const POINT overChild = {650, 450}, overFrame = {550, 450};

    RECT rc = {};
    SetCursorPos(overChild.x, overChild.y);
    EXPECT_EQ(FindWindowUnderCursor(&rc), below.child);
    RECT childRect;
    GetWindowRect(below.child, &childRect);
    EXPECT_TRUE(EqualRect(&rc, &childRect));

    SetCursorPos(overFrame.x, overFrame.y);
    EXPECT_EQ(FindWindowUnderCursor(&rc), below.frame.Hwnd());
    EXPECT_EQ(rc.left, 500);
    EXPECT_EQ(rc.bottom, 500);

    // A topmost window over both, as a full-screen selector is.
    SolidWindow cover({450, 350, 750, 550}, RGB(0, 0, 0));
    SetCursorPos(overChild.x, overChild.y);
    EXPECT_EQ(FindWindowUnderCursor(&rc), cover.Hwnd());

    EnableWindow(cover.Hwnd(), FALSE);
    EXPECT_EQ(FindWindowUnderCursor(&rc), below.child);
    EnableWindow(cover.Hwnd(), TRUE);

    ShowWindow(cover.Hwnd(), SW_HIDE);
    Pump(50);
    EXPECT_EQ(FindWindowUnderCursor(&rc), below.child);

    // A hidden child is passed; the frame itself is found.
    ShowWindow(below.child, SW_HIDE);
    Pump(50);
    EXPECT_EQ(FindWindowUnderCursor(&rc), below.frame.Hwnd());
}
