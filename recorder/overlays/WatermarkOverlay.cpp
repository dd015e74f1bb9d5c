#include "recorder/overlays/WatermarkOverlay.h"

#include "recorder/FrameSurface.h"
#include "recorder/GdiplusSession.h"
#include "core/StringConv.h"

#include <algorithm>
#include <cctype>
#include <memory>

namespace {

// The formats GDI+ decodes, by extension.
bool IsPictureExtension(const std::string& path)
{
    static const char* const kExtensions[] = {"bmp", "dib", "gif",  "jpg", "jpeg", "jpe", "jfif",
                                              "png", "tif", "tiff", "ico", "wmf",  "emf"};
    const size_t name = path.find_last_of("\\/");
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (name != std::string::npos && dot < name)) return false;
    std::string ext = path.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return (char)tolower(c); });
    for (const char* known : kExtensions)
        if (ext == known) return true;
    return false;
}

}  // namespace

bool DecodeWatermark(const std::string& ansiPath, Sprite& out)
{
    out.Clear();
    if (!IsPictureExtension(ansiPath)) return false;
    GdiplusSession gdiplus;
    if (!gdiplus.Ok()) return false;
    const std::wstring path = AnsiToWide(ansiPath);
    std::unique_ptr<Gdiplus::Bitmap> bitmap(Gdiplus::Bitmap::FromFile(path.c_str()));
    if (!bitmap || bitmap->GetLastStatus() != Gdiplus::Ok || bitmap->GetWidth() == 0 ||
        bitmap->GetHeight() == 0)
        return false;
    Gdiplus::Color corner;
    if (bitmap->GetPixel(0, bitmap->GetHeight() - 1, &corner) != Gdiplus::Ok) return false;
    if (corner.GetA() == 255) return out.AssignKeyed(*bitmap, corner.GetValue() & 0xFFFFFF);
    return out.Assign(*bitmap);
}

void WatermarkOverlay::Setup(const Sprite* image, DWORD cell)
{
    m_image = image;
    m_cell = cell;
}

void WatermarkOverlay::Release()
{
    m_image = nullptr;
}

void WatermarkOverlay::Draw(FrameSurface& surface, const FrameMapping& mapping)
{
    if (!m_image || m_image->Empty()) return;
    const SIZE frame = {mapping.FrameWidth(), mapping.FrameHeight()};
    const SIZE picture = {m_image->Width(), m_image->Height()};
    const POINT at = WatermarkOrigin(m_cell, frame, picture);
    m_image->BlendOnto(surface, at.x, at.y);
}
