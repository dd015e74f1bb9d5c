// A PNG resource of the program as a GDI+ image.
#include <gtest/gtest.h>

#include "TestKit.h"
#include "core/PngResource.h"

#include <objidl.h>
#include <gdiplus.h>

using namespace testkit;

namespace {

TEST(PngResourceTest, LoadsTheImageAndItsPixels)
{
    GdiplusScope gdiplus;
    ASSERT_TRUE(gdiplus.ok());
    Gdiplus::Image* image = nullptr;
    ASSERT_EQ(1u,
              LoadPngResourceImage(&image, FindResourceA(nullptr, MAKEINTRESOURCEA(145), "png")));
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(3u, image->GetWidth());
    EXPECT_EQ(2u, image->GetHeight());
    Gdiplus::Color c;
    ASSERT_EQ(Gdiplus::Ok, static_cast<Gdiplus::Bitmap*>(image)->GetPixel(1, 0, &c));
    EXPECT_EQ(0xFF00FF00u, c.GetValue());
    delete image;

    Gdiplus::Image* untouched = reinterpret_cast<Gdiplus::Image*>(0x1234);
    EXPECT_EQ(0u, LoadPngResourceImage(&untouched, nullptr));
    EXPECT_EQ(reinterpret_cast<Gdiplus::Image*>(0x1234), untouched);
}

}  // namespace
