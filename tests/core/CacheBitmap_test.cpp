// The cache bitmap the screenshot and graffiti windows copy into.
#include <gtest/gtest.h>

#include "TestKit.h"
#include "core/CacheBitmap.h"

using namespace testkit;

namespace {

TEST(CacheBitmapTest, CopiesTheRectangleAndReplacesThePreviousBitmap)
{
    HDC screen = GetDC(nullptr);
    HDC source = CreateCompatibleDC(screen);
    HBITMAP sourceBitmap = CreateCompatibleBitmap(screen, 40, 30);
    HGDIOBJ oldSource = SelectObject(source, sourceBitmap);
    RECT all = {0, 0, 40, 30};
    FillRect(source, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    SetPixel(source, 10, 5, RGB(255, 0, 0));
    HDC target = CreateCompatibleDC(screen);

    CopyDcRectToCacheBitmap(source, target, 10, 5, 8, 6);
    HBITMAP first = g_hCacheBitmap;
    ASSERT_NE(nullptr, first);
    BITMAP bm;
    ASSERT_TRUE(GetObjectA(first, sizeof bm, &bm));
    EXPECT_EQ(8, bm.bmWidth);
    EXPECT_EQ(6, bm.bmHeight);
    HGDIOBJ old = SelectObject(target, first);
    EXPECT_EQ(RGB(255, 0, 0), GetPixel(target, 0, 0));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(target, 1, 1));
    SelectObject(target, old);

    CopyDcRectToCacheBitmap(source, target, 0, 0, 4, 4);
    EXPECT_NE(nullptr, g_hCacheBitmap);
    EXPECT_FALSE(GetObjectA(first, sizeof bm, &bm));  // the first one is deleted

    SelectObject(source, oldSource);
    DeleteObject(sourceBitmap);
    DeleteDC(source);
    DeleteDC(target);
    ReleaseDC(nullptr, screen);
}

}  // namespace
