#pragma once
// Pictures with an alpha channel, from PNG resources: decoded with libpng, scaled to the size the
// window's DPI asks for, kept as a premultiplied 32-bit DIB section and drawn with AlphaBlend.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "win32/handles.h"

namespace km {

// Premultiplied BGRA pixels, rows top to bottom.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> bgra;
};

std::optional<Pixels> decode_png(const void* data, size_t size);
// Area averaging: each target pixel is the mean of the source area it covers, so a large source
// stays crisp at every size.
Pixels scale_pixels(const Pixels& source, int width, int height);

// Decodes the RCDATA PNG resource `id` and scales it to width x height device pixels. A null
// bitmap when anything fails.
UniqueBitmap load_png_picture(HINSTANCE instance, int id, int width, int height);

// Draws a bitmap made by load_png_picture at (x, y), blending it over what is already there.
void draw_picture(HDC dc, HBITMAP picture, int x, int y);

}  // namespace km
