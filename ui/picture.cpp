#include "ui/picture.h"

#include <png.h>

#include <cstring>

namespace km {

std::optional<Pixels> decode_png(const void* data, size_t size) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, data, size)) return std::nullopt;
  image.format = PNG_FORMAT_BGRA;
  Pixels pixels;
  pixels.width = static_cast<int>(image.width);
  pixels.height = static_cast<int>(image.height);
  pixels.bgra.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, pixels.bgra.data(), 0, nullptr)) {
    png_image_free(&image);
    return std::nullopt;
  }
  for (size_t i = 0; i < pixels.bgra.size(); i += 4) {
    const unsigned a = pixels.bgra[i + 3];
    for (int c = 0; c < 3; ++c) pixels.bgra[i + c] = static_cast<std::uint8_t>((pixels.bgra[i + c] * a + 127) / 255);
  }
  return pixels;
}

Pixels scale_pixels(const Pixels& source, int width, int height) {
  Pixels out;
  out.width = width;
  out.height = height;
  out.bgra.assign(static_cast<size_t>(width) * height * 4, 0);
  if (source.width <= 0 || source.height <= 0 || width <= 0 || height <= 0) return out;
  const double sx = double(source.width) / width, sy = double(source.height) / height;
  for (int y = 0; y < height; ++y) {
    const double y0 = y * sy, y1 = (y + 1) * sy;
    for (int x = 0; x < width; ++x) {
      const double x0 = x * sx, x1 = (x + 1) * sx;
      double sum[4] = {0, 0, 0, 0}, area = 0;
      for (int v = static_cast<int>(y0); v < source.height && v < y1; ++v) {
        const double h = std::min<double>(v + 1, y1) - std::max<double>(v, y0);
        for (int u = static_cast<int>(x0); u < source.width && u < x1; ++u) {
          const double w = (std::min<double>(u + 1, x1) - std::max<double>(u, x0)) * h;
          const std::uint8_t* p = &source.bgra[(static_cast<size_t>(v) * source.width + u) * 4];
          for (int c = 0; c < 4; ++c) sum[c] += p[c] * w;
          area += w;
        }
      }
      std::uint8_t* d = &out.bgra[(static_cast<size_t>(y) * width + x) * 4];
      for (int c = 0; c < 4; ++c) d[c] = static_cast<std::uint8_t>(area > 0 ? sum[c] / area + 0.5 : 0);
    }
  }
  return out;
}

UniqueBitmap load_png_picture(HINSTANCE instance, int id, int width, int height) {
  HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
  if (!found) return UniqueBitmap();
  HGLOBAL loaded = LoadResource(instance, found);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return UniqueBitmap();
  std::optional<Pixels> decoded = decode_png(data, SizeofResource(instance, found));
  if (!decoded) return UniqueBitmap();
  const Pixels pixels = scale_pixels(*decoded, width, height);

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits) return UniqueBitmap();
  std::memcpy(bits, pixels.bgra.data(), pixels.bgra.size());
  return bitmap;
}

void draw_picture(HDC dc, HBITMAP picture, int x, int y) {
  BITMAP info{};
  if (!picture || !GetObjectA(picture, sizeof info, &info)) return;
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, picture);
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  AlphaBlend(dc, x, y, info.bmWidth, info.bmHeight, memory, 0, 0, info.bmWidth, info.bmHeight, blend);
  SelectObject(memory, old);
  DeleteDC(memory);
}

}  // namespace km
