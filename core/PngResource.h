// A PNG stored in the program's resources (type "png") as a GDI+ image.
#pragma once

#include <windows.h>

namespace Gdiplus {
class Image;
}

// Loads the resource found by FindResourceA(module, id, "png") of the
// program itself. Returns 0 when the resource cannot be loaded (*out is not
// written), else 1 with the new image in *out (null when GDI+ could not make
// it). The caller deletes the image. GDI+ must be started.
unsigned LoadPngResourceImage(Gdiplus::Image** out, HRSRC resource);
