// What the windows load from the program's own resources, read from
// Orbisk.exe as a data file: the cursors, the "png" pictures and the
// floating bar's menu.
#include <gtest/gtest.h>

#include "TestKit.h"
#include "app/ResourceIds.h"

#include <objidl.h>
#include <gdiplus.h>

#include <memory>
#include <string>
#include <vector>

using namespace testkit;

namespace {

class ProgramResources : public ::testing::Test {
protected:
    void SetUp() override
    {
        program_ = LoadLibraryExA((ProgramDir() + "\\Orbisk.exe").c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(nullptr, program_) << GetLastError();
    }
    void TearDown() override
    {
        if (program_) FreeLibrary(program_);
    }
    HMODULE program_ = nullptr;
};

// A cursor as the system holds it: its size, hot spot and the alpha of its
// pixels (rows from the top).
struct CursorPicture {
    bool isCursor = false;
    int width = 0, height = 0;
    int hotX = -1, hotY = -1;
    std::vector<BYTE> alpha;
    BYTE At(int x, int y) const { return alpha[(size_t)y * width + x]; }
};

CursorPicture Inspect(HCURSOR cursor)
{
    CursorPicture c;
    ICONINFO info = {};
    if (!GetIconInfo(cursor, &info)) return c;
    c.isCursor = !info.fIcon;
    c.hotX = (int)info.xHotspot;
    c.hotY = (int)info.yHotspot;
    BITMAP bm = {};
    if (info.hbmColor && GetObject(info.hbmColor, sizeof(bm), &bm)) {
        c.width = bm.bmWidth;
        c.height = bm.bmHeight;
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = c.width;
        bi.bmiHeader.biHeight = -c.height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        std::vector<DWORD> bgra((size_t)c.width * c.height);
        HDC dc = GetDC(nullptr);
        if (GetDIBits(dc, info.hbmColor, 0, c.height, bgra.data(), &bi, DIB_RGB_COLORS)) {
            for (DWORD p : bgra)
                c.alpha.push_back((BYTE)(p >> 24));
        }
        ReleaseDC(nullptr, dc);
    }
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return c;
}

// A "png" resource decoded by GDI+, as the windows decode it.
std::unique_ptr<Gdiplus::Bitmap> LoadPng(HMODULE module, unsigned id)
{
    HRSRC res = FindResourceA(module, MAKEINTRESOURCEA(id), "png");
    if (!res) return nullptr;
    DWORD size = SizeofResource(module, res);
    const void* bytes = LockResource(LoadResource(module, res));
    if (!bytes || !size) return nullptr;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    memcpy(GlobalLock(block), bytes, size);
    GlobalUnlock(block);
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) return nullptr;
    std::unique_ptr<Gdiplus::Bitmap> bitmap(Gdiplus::Bitmap::FromStream(stream));
    stream->Release();
    if (bitmap && bitmap->GetLastStatus() != Gdiplus::Ok) bitmap.reset();
    return bitmap;
}

std::string MenuText(HMENU menu, int position)
{
    char text[64] = {};
    GetMenuStringA(menu, position, text, sizeof(text), MF_BYPOSITION);
    return text;
}

TEST_F(ProgramResources, SelectorCursorIs40x40AndAimsAtItsCentre)
{
    // At its own size: LoadImage with 0 x 0 does not scale.
    HCURSOR cursor = (HCURSOR)LoadImageA(program_, MAKEINTRESOURCEA(kSelectorCursorResource),
                                         IMAGE_CURSOR, 0, 0, 0);
    ASSERT_NE(nullptr, cursor);
    CursorPicture c = Inspect(cursor);
    EXPECT_TRUE(c.isCursor);
    EXPECT_EQ(40, c.width);
    EXPECT_EQ(40, c.height);
    EXPECT_EQ(20, c.hotX);
    EXPECT_EQ(20, c.hotY);
    ASSERT_EQ(40u * 40u, c.alpha.size());
    EXPECT_EQ(255, c.At(c.hotX, c.hotY)) << "the aimed-at pixel is drawn";
    EXPECT_EQ(0, c.At(0, 0)) << "around the cross the screen shows through";
    DestroyCursor(cursor);
}

TEST_F(ProgramResources, PenCursorIs32x32WithTheHotSpotAtTheNib)
{
    HCURSOR cursor = LoadCursorA(program_, MAKEINTRESOURCEA(kPenCursorResource));
    ASSERT_NE(nullptr, cursor);
    CursorPicture c = Inspect(cursor);
    EXPECT_TRUE(c.isCursor);
    EXPECT_EQ(32, c.width);
    EXPECT_EQ(32, c.height);
    ASSERT_EQ(32u * 32u, c.alpha.size());
    // The nib is the solid pixel furthest to the bottom left.
    int tipX = -1, tipY = -1;
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x)
            if (c.At(x, y) >= 128 && (tipX < 0 || x - y < tipX - tipY)) {
                tipX = x;
                tipY = y;
            }
    EXPECT_NEAR(tipX, c.hotX, 1);
    EXPECT_NEAR(tipY, c.hotY, 1);
    EXPECT_GT(c.At(c.hotX, c.hotY), 0);
    DestroyCursor(cursor);
}

TEST_F(ProgramResources, CanvasFillIsAlmostInvisibleWhiteEverywhere)
{
    GdiplusScope gdiplus;
    ASSERT_TRUE(gdiplus.ok());
    auto fill = LoadPng(program_, kCanvasFillPngResource);
    ASSERT_TRUE(fill);
    ASSERT_EQ(100u, fill->GetWidth());
    ASSERT_EQ(100u, fill->GetHeight());
    Gdiplus::Rect all(0, 0, 100, 100);
    Gdiplus::BitmapData data = {};
    ASSERT_EQ(Gdiplus::Ok, fill->LockBits(&all, Gdiplus::ImageLockModeRead,
                                          PixelFormat32bppARGB, &data));
    int other = 0;
    for (int y = 0; y < 100; ++y) {
        const DWORD* row = (const DWORD*)((const BYTE*)data.Scan0 + y * data.Stride);
        for (int x = 0; x < 100; ++x)
            if (row[x] != 0x03FEFEFEu && other++ == 0)
                ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << row[x];
    }
    fill->UnlockBits(&data);
    EXPECT_EQ(0, other) << "pixels other than RGBA 254,254,254,3";
}

TEST_F(ProgramResources, PlaceholderIsA64x64Picture)
{
    GdiplusScope gdiplus;
    ASSERT_TRUE(gdiplus.ok());
    auto picture = LoadPng(program_, kPlaceholderPngResource);
    ASSERT_TRUE(picture);
    EXPECT_EQ(64u, picture->GetWidth());
    EXPECT_EQ(64u, picture->GetHeight());
    Gdiplus::Color centre;
    ASSERT_EQ(Gdiplus::Ok, picture->GetPixel(32, 32, &centre));
    EXPECT_EQ(255, centre.GetA()) << "something is drawn";
}

TEST_F(ProgramResources, FloatBarMenuHasItsCommandsAndTheOpacitySubmenu)
{
    HMENU menu = LoadMenuA(program_, MAKEINTRESOURCEA(kFloatBarMenuResource));
    ASSERT_NE(nullptr, menu);
    ASSERT_EQ(1, GetMenuItemCount(menu)) << "the bar opens the first popup";
    HMENU bar = GetSubMenu(menu, 0);
    ASSERT_NE(nullptr, bar);

    // The texts as the program's ANSI calls read them: GBK.
    const struct {
        unsigned id;
        const char* text;
    } items[] = {
        {kFloatBarCmdShowMain, "显示主界面"}, {kFloatBarCmdOpenFolder, "打开输出文件夹"},
        {kFloatBarCmdStart, "开始"},          {kFloatBarCmdStop, "停止"},
        {kFloatBarCmdPause, "暂停"},          {kFloatBarCmdHide, "隐藏悬浮窗"},
        {0, "透明度"},                        {kFloatBarCmdExit, "退出"},
    };
    ASSERT_EQ((int)(sizeof(items) / sizeof(items[0])), GetMenuItemCount(bar));
    int opacityAt = -1;
    for (int i = 0; i < GetMenuItemCount(bar); ++i) {
        EXPECT_EQ(items[i].text, MenuText(bar, i)) << "item " << i;
        if (items[i].id)
            EXPECT_EQ(items[i].id, GetMenuItemID(bar, i)) << items[i].text;
        else
            opacityAt = i;
    }
    // The submenu's title byte for byte, whatever the compiler made of the
    // literals above.
    EXPECT_EQ("\xCD\xB8\xC3\xF7\xB6\xC8", MenuText(bar, opacityAt));

    HMENU opacity = GetSubMenu(bar, opacityAt);
    ASSERT_NE(nullptr, opacity);
    const int steps = (int)(kFloatBarCmdOpacityLast - kFloatBarCmdOpacityFirst + 1);
    ASSERT_EQ(10, steps);
    ASSERT_EQ(steps, GetMenuItemCount(opacity));
    for (int i = 0; i < steps; ++i) {
        EXPECT_EQ(std::to_string(10 * (i + 1)) + "%", MenuText(opacity, i));
        EXPECT_EQ(kFloatBarCmdOpacityFirst + i, GetMenuItemID(opacity, i));
    }
    DestroyMenu(menu);
}

}  // namespace
