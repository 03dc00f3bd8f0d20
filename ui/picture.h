#pragma once
// Pictures with an alpha channel, from PNG resources: decoded with libpng, scaled to the size the
// window's DPI asks for, kept as a premultiplied 32-bit DIB section and drawn with AlphaBlend.
#include <windows.h>

#include "ui/handles.h"

namespace km {

// Decodes the RCDATA PNG resource `id` and scales it to width x height device pixels (area
// averaging, so a large source stays crisp at every DPI). A null bitmap when anything fails.
UniqueBitmap load_png_picture(HINSTANCE instance, int id, int width, int height);

// Draws a bitmap made by load_png_picture at (x, y), blending it over what is already there.
void draw_picture(HDC dc, HBITMAP picture, int x, int y);

}  // namespace km
