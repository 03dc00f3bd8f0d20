// Draws the program's artwork and writes it into resources/: the main window's icon, the program
// file's icon, the loudspeaker picture before the hint line and the About window's banner. Shapes
// are sampled on an 8 x 8 grid per pixel, so every edge is anti-aliased at every size; each icon
// size is drawn anew, not scaled. The banner's characters come from a font through FreeType.
//
// Build and run with scripts/draw-art.sh; the outputs are committed, the build only embeds them.
#include <ft2build.h>
#include FT_FREETYPE_H
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Color {
  float r, g, b, a;
};

Color rgb(int r, int g, int b, float a = 1.f) { return {r / 255.f, g / 255.f, b / 255.f, a}; }

// Premultiplied RGBA, drawn in a unit square: shape functions take x, y in [0, 1].
class Canvas {
 public:
  explicit Canvas(int size) : size_(size), px_(size * size, Color{0, 0, 0, 0}) {}

  using Shape = std::function<bool(float x, float y)>;

  // Paints `color` wherever the shape covers the pixel, weighted by the covered fraction;
  // `shade` may vary the colour across the picture (a gentle gradient).
  void fill(const Shape& inside, Color color, const std::function<Color(float, float)>& shade = nullptr) {
    constexpr int kGrid = 8;
    for (int py = 0; py < size_; ++py) {
      for (int px = 0; px < size_; ++px) {
        int hits = 0;
        for (int sy = 0; sy < kGrid; ++sy)
          for (int sx = 0; sx < kGrid; ++sx) {
            const float x = (px + (sx + 0.5f) / kGrid) / size_;
            const float y = (py + (sy + 0.5f) / kGrid) / size_;
            if (inside(x, y)) ++hits;
          }
        if (!hits) continue;
        const float cx = (px + 0.5f) / size_, cy = (py + 0.5f) / size_;
        const Color c = shade ? shade(cx, cy) : color;
        const float a = c.a * hits / float(kGrid * kGrid);
        Color& d = px_[py * size_ + px];
        d = {c.r * a + d.r * (1 - a), c.g * a + d.g * (1 - a), c.b * a + d.b * (1 - a), a + d.a * (1 - a)};
      }
    }
  }

  // Straight (not premultiplied) 8-bit RGBA rows, top to bottom.
  std::vector<uint8_t> rgba() const {
    std::vector<uint8_t> out;
    for (const Color& c : px_) {
      const float a = c.a;
      auto channel = [&](float v) { return uint8_t(std::lround(std::clamp(a > 0 ? v / a : 0.f, 0.f, 1.f) * 255)); };
      out.push_back(channel(c.r));
      out.push_back(channel(c.g));
      out.push_back(channel(c.b));
      out.push_back(uint8_t(std::lround(std::clamp(a, 0.f, 1.f) * 255)));
    }
    return out;
  }
  int size() const { return size_; }

 private:
  int size_;
  std::vector<Color> px_;
};

Canvas::Shape circle(float cx, float cy, float r) {
  return [=](float x, float y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; };
}
Canvas::Shape ellipse(float cx, float cy, float rx, float ry) {
  return [=](float x, float y) { return ((x - cx) * (x - cx)) / (rx * rx) + ((y - cy) * (y - cy)) / (ry * ry) <= 1; };
}
Canvas::Shape rect(float x0, float y0, float x1, float y1) {
  return [=](float x, float y) { return x >= x0 && x < x1 && y >= y0 && y < y1; };
}
Canvas::Shape rounded_rect(float x0, float y0, float x1, float y1, float r) {
  return [=](float x, float y) {
    if (x < x0 || x >= x1 || y < y0 || y >= y1) return false;
    const float cx = std::clamp(x, x0 + r, x1 - r), cy = std::clamp(y, y0 + r, y1 - r);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
  };
}
Canvas::Shape polygon(std::vector<std::pair<float, float>> points) {
  return [points = std::move(points)](float x, float y) {
    bool in = false;
    for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
      const auto [xi, yi] = points[i];
      const auto [xj, yj] = points[j];
      if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) in = !in;
    }
    return in;
  };
}
Canvas::Shape octagon(float cx, float cy, float r) {
  std::vector<std::pair<float, float>> p;
  for (int i = 0; i < 8; ++i) {
    const float angle = float(M_PI) / 8 + i * float(M_PI) / 4;
    p.push_back({cx + r * std::cos(angle), cy + r * std::sin(angle)});
  }
  return polygon(std::move(p));
}
Canvas::Shape minus(Canvas::Shape a, Canvas::Shape b) {
  return [=](float x, float y) { return a(x, y) && !b(x, y); };
}
Canvas::Shape either(Canvas::Shape a, Canvas::Shape b) {
  return [=](float x, float y) { return a(x, y) || b(x, y); };
}
// A ring segment between two radii, within an angle either side of the positive x axis.
Canvas::Shape arc(float cx, float cy, float r0, float r1, float half_angle) {
  return [=](float x, float y) {
    const float dx = x - cx, dy = y - cy, d = std::sqrt(dx * dx + dy * dy);
    return d >= r0 && d <= r1 && dx > 0 && std::fabs(std::atan2(dy, dx)) <= half_angle;
  };
}
Canvas::Shape grown(Canvas::Shape s, float by) {  // a crude outline: the shape sampled around itself
  return [=](float x, float y) {
    for (int i = 0; i < 8; ++i) {
      const float a = i * float(M_PI) / 4;
      if (s(x + by * std::cos(a), y + by * std::sin(a))) return true;
    }
    return s(x, y);
  };
}

std::function<Color(float, float)> vertical(Color top, Color bottom) {
  return [=](float, float y) {
    return Color{top.r + (bottom.r - top.r) * y, top.g + (bottom.g - top.g) * y, top.b + (bottom.b - top.b) * y,
                 top.a + (bottom.a - top.a) * y};
  };
}

// The main window's icon: a gold L before a dark teal octagonal badge with a round hub, in a gold
// square frame.
Canvas draw_badge(int size) {
  Canvas c(size);
  const float thin = 1.f / size;  // about a pixel, to keep small sizes crisp
  const Color gold_light = rgb(248, 214, 110), gold_dark = rgb(184, 128, 28);
  auto frame_outer = rounded_rect(0.03f, 0.03f, 0.97f, 0.97f, 0.08f);
  auto frame_inner = rounded_rect(0.12f, 0.12f, 0.88f, 0.88f, 0.04f);
  c.fill(frame_outer, {}, vertical(gold_light, gold_dark));
  c.fill(frame_inner, rgb(20, 40, 44));
  c.fill(octagon(0.5f, 0.5f, 0.36f), {}, vertical(rgb(28, 110, 112), rgb(8, 58, 64)));
  c.fill(minus(circle(0.5f, 0.5f, 0.17f), circle(0.5f, 0.5f, 0.17f - std::max(0.035f, thin))), rgb(120, 200, 196));
  c.fill(circle(0.5f, 0.5f, 0.07f), rgb(120, 200, 196));
  auto letter = either(rect(0.30f, 0.20f, 0.46f, 0.80f), rect(0.30f, 0.66f, 0.72f, 0.80f));
  c.fill(grown(letter, std::max(0.03f, thin)), rgb(40, 24, 4, 0.85f));
  c.fill(letter, {}, vertical(gold_light, gold_dark));
  return c;
}

// The program file's icon: a monitor with a blue screen and a white case on a round white stand.
Canvas draw_monitor(int size) {
  Canvas c(size);
  const Color outline = rgb(120, 128, 140);
  const float o = std::max(0.02f, 1.f / size);
  auto stand_foot = ellipse(0.5f, 0.86f, 0.26f, 0.07f);
  auto stand_neck = rect(0.44f, 0.70f, 0.56f, 0.84f);
  c.fill(grown(either(stand_foot, stand_neck), o), outline);
  c.fill(either(stand_foot, stand_neck), {}, vertical(rgb(255, 255, 255), rgb(214, 220, 228)));
  auto body = rounded_rect(0.06f, 0.10f, 0.94f, 0.74f, 0.06f);
  c.fill(grown(body, o), outline);
  c.fill(body, {}, vertical(rgb(255, 255, 255), rgb(226, 230, 236)));
  c.fill(rect(0.13f, 0.17f, 0.87f, 0.64f), {}, vertical(rgb(70, 160, 255), rgb(16, 84, 200)));
  c.fill(polygon({{0.13f, 0.17f}, {0.60f, 0.17f}, {0.13f, 0.52f}}), rgb(255, 255, 255, 0.18f));
  return c;
}

// The picture before the hint line: a white loudspeaker on a round light-blue badge.
Canvas draw_speaker(int size) {
  Canvas c(size);
  c.fill(circle(0.5f, 0.5f, 0.48f), {}, vertical(rgb(120, 200, 255), rgb(60, 156, 240)));
  const Color white = rgb(255, 255, 255);
  c.fill(rect(0.22f, 0.40f, 0.34f, 0.60f), white);
  c.fill(polygon({{0.32f, 0.40f}, {0.50f, 0.25f}, {0.50f, 0.75f}, {0.32f, 0.60f}}), white);
  c.fill(arc(0.52f, 0.5f, 0.09f, 0.15f, 0.9f), white);
  c.fill(arc(0.52f, 0.5f, 0.21f, 0.27f, 0.9f), white);
  return c;
}

// A picture of any shape: straight 8-bit RGBA rows, top to bottom.
struct Image {
  int width, height;
  std::vector<uint8_t> rgba;
};

// The About window's banner, 130 x 50: the white characters "免费软件" (free software) centred on
// a bright blue field, no border. The ink of the four characters is centred, not their advance
// boxes, so the text looks centred whatever the font's side bearings.
bool draw_banner(const std::string& font_path, Image& out) {
  constexpr int kWidth = 130, kHeight = 50, kPixelSize = 24;
  const char32_t text[] = {0x514D, 0x8D39, 0x8F6F, 0x4EF6};  // 免费软件
  FT_Library library;
  if (FT_Init_FreeType(&library)) return false;
  FT_Face face;
  if (FT_New_Face(library, font_path.c_str(), 0, &face) || FT_Set_Pixel_Sizes(face, 0, kPixelSize)) {
    FT_Done_FreeType(library);
    return false;
  }
  struct Glyph {
    int x, y, width, height;  // ink box relative to the pen's start on the baseline (y up)
    std::vector<uint8_t> coverage;
  };
  std::vector<Glyph> glyphs;
  int pen = 0;
  bool ok = true;
  for (char32_t code : text) {
    if (FT_Load_Char(face, code, FT_LOAD_RENDER) || face->glyph->format != FT_GLYPH_FORMAT_BITMAP) {
      ok = false;
      break;
    }
    const FT_Bitmap& b = face->glyph->bitmap;
    Glyph g{pen + face->glyph->bitmap_left, face->glyph->bitmap_top, int(b.width), int(b.rows), {}};
    for (unsigned row = 0; row < b.rows; ++row)
      g.coverage.insert(g.coverage.end(), b.buffer + row * b.pitch, b.buffer + row * b.pitch + b.width);
    glyphs.push_back(std::move(g));
    pen += int(face->glyph->advance.x >> 6);
  }
  FT_Done_Face(face);
  FT_Done_FreeType(library);
  if (!ok) return false;

  int left = 1 << 30, right = -(1 << 30), top = -(1 << 30), bottom = 1 << 30;
  for (const Glyph& g : glyphs) {
    left = std::min(left, g.x);
    right = std::max(right, g.x + g.width);
    top = std::max(top, g.y);
    bottom = std::min(bottom, g.y - g.height);
  }
  const int origin_x = (kWidth - (right - left)) / 2 - left;
  const int origin_y = (kHeight - (top - bottom)) / 2 + top;  // the baseline, in rows from the top

  out = {kWidth, kHeight, {}};
  for (int i = 0; i < kWidth * kHeight; ++i) out.rgba.insert(out.rgba.end(), {0, 149, 254, 255});
  for (const Glyph& g : glyphs)
    for (int row = 0; row < g.height; ++row)
      for (int col = 0; col < g.width; ++col) {
        const int x = origin_x + g.x + col, y = origin_y - g.y + row;
        if (x < 0 || x >= kWidth || y < 0 || y >= kHeight) continue;
        const int a = g.coverage[row * g.width + col];
        uint8_t* p = &out.rgba[(y * kWidth + x) * 4];
        for (int c = 0; c < 3; ++c) p[c] = uint8_t((255 * a + p[c] * (255 - a) + 127) / 255);
      }
  return true;
}

std::vector<uint8_t> png_bytes(const Image& picture) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = picture.width;
  image.height = picture.height;
  image.format = PNG_FORMAT_RGBA;
  const std::vector<uint8_t>& pixels = picture.rgba;
  png_alloc_size_t size = 0;
  png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr);
  std::vector<uint8_t> out(size);
  png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, nullptr);
  out.resize(size);
  return out;
}

bool write_bytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

std::vector<uint8_t> png_bytes(const Canvas& c) { return png_bytes(Image{c.size(), c.size(), c.rgba()}); }

bool write_png_file(const std::string& path, const Canvas& c) { return write_bytes(path, png_bytes(c)); }

void put16(std::vector<uint8_t>& v, unsigned x) { v.push_back(x & 0xFF); v.push_back((x >> 8) & 0xFF); }
void put32(std::vector<uint8_t>& v, unsigned x) { put16(v, x & 0xFFFF); put16(v, x >> 16); }

// One icon image as Windows stores it: a 32-bit BGRA DIB, bottom-up, with its 1-bit AND mask.
std::vector<uint8_t> dib_bytes(const Canvas& c) {
  const int n = c.size();
  const std::vector<uint8_t> rgba = c.rgba();
  std::vector<uint8_t> out;
  put32(out, 40); put32(out, n); put32(out, 2 * n); put16(out, 1); put16(out, 32);
  put32(out, 0); put32(out, 0); put32(out, 0); put32(out, 0); put32(out, 0); put32(out, 0);
  for (int y = n - 1; y >= 0; --y)
    for (int x = 0; x < n; ++x) {
      const uint8_t* p = &rgba[(y * n + x) * 4];
      out.insert(out.end(), {p[2], p[1], p[0], p[3]});
    }
  const int stride = ((n + 31) / 32) * 4;
  for (int y = n - 1; y >= 0; --y) {
    std::vector<uint8_t> row(stride, 0);
    for (int x = 0; x < n; ++x)
      if (rgba[(y * n + x) * 4 + 3] == 0) row[x / 8] |= 0x80 >> (x % 8);
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

bool write_ico(const std::string& path, const std::function<Canvas(int)>& draw, const std::vector<int>& sizes) {
  std::vector<std::vector<uint8_t>> images;
  for (int s : sizes) images.push_back(s >= 256 ? png_bytes(draw(s)) : dib_bytes(draw(s)));
  std::vector<uint8_t> out;
  put16(out, 0); put16(out, 1); put16(out, unsigned(sizes.size()));
  unsigned offset = 6 + 16 * unsigned(sizes.size());
  for (size_t i = 0; i < sizes.size(); ++i) {
    out.push_back(sizes[i] >= 256 ? 0 : uint8_t(sizes[i]));
    out.push_back(sizes[i] >= 256 ? 0 : uint8_t(sizes[i]));
    out.push_back(0); out.push_back(0);
    put16(out, 1); put16(out, 32);
    put32(out, unsigned(images[i].size())); put32(out, offset);
    offset += unsigned(images[i].size());
  }
  for (const auto& img : images) out.insert(out.end(), img.begin(), img.end());
  return write_bytes(path, out);
}

}  // namespace

// Usage: draw_art RESOURCES_FOLDER FONT_FILE [PREVIEW_FOLDER]
int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: draw_art RESOURCES_FOLDER FONT_FILE [PREVIEW_FOLDER]\n");
    return 2;
  }
  const std::string dir = argv[1];
  bool ok = write_ico(dir + "/main_window.ico", draw_badge, {16, 20, 24, 32, 40, 48, 64, 256});
  ok = write_ico(dir + "/program.ico", draw_monitor, {16, 24, 32, 48, 256}) && ok;
  ok = write_png_file(dir + "/speaker.png", draw_speaker(68)) && ok;
  Image banner;
  if (draw_banner(argv[2], banner)) {
    ok = write_bytes(dir + "/about_banner.png", png_bytes(banner)) && ok;
  } else {
    std::fprintf(stderr, "draw_art: cannot draw the banner's characters with the font %s\n", argv[2]);
    ok = false;
  }
  // Previews for people, not for the build.
  if (argc > 3) {
    const std::string preview = argv[3];
    ok = write_png_file(preview + "/badge-64.png", draw_badge(64)) && ok;
    ok = write_png_file(preview + "/badge-16.png", draw_badge(16)) && ok;
    ok = write_png_file(preview + "/monitor-48.png", draw_monitor(48)) && ok;
    ok = write_png_file(preview + "/speaker-17.png", draw_speaker(17)) && ok;
  }
  if (!ok) std::fprintf(stderr, "draw_art: could not write the artwork into %s\n", dir.c_str());
  return ok ? 0 : 1;
}
