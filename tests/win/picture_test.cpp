#include "ui/picture.h"

#include <gtest/gtest.h>
#include <png.h>

namespace km {
namespace {

// A 4 x 4 PNG: the left half opaque red, the right half fully transparent.
std::vector<std::uint8_t> half_red_png() {
  std::vector<std::uint8_t> rgba;
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) rgba.insert(rgba.end(), {255, 0, 0, std::uint8_t(x < 2 ? 255 : 0)});
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = image.height = 4;
  image.format = PNG_FORMAT_RGBA;
  png_alloc_size_t size = 0;
  png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr);
  std::vector<std::uint8_t> png(size);
  EXPECT_TRUE(png_image_write_to_memory(&image, png.data(), &size, 0, rgba.data(), 0, nullptr));
  png.resize(size);
  return png;
}

TEST(Picture, DecodesPremultipliedAndScalesByArea) {
  const std::vector<std::uint8_t> png = half_red_png();
  std::optional<Pixels> decoded = decode_png(png.data(), png.size());
  ASSERT_TRUE(decoded);
  ASSERT_EQ(decoded->width, 4);
  // Premultiplied BGRA: transparent pixels carry no colour.
  EXPECT_EQ(std::vector<std::uint8_t>(decoded->bgra.begin(), decoded->bgra.begin() + 16),
            (std::vector<std::uint8_t>{0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 0, 0, 0, 0, 0, 0}));

  const Pixels half = scale_pixels(*decoded, 2, 2);
  EXPECT_EQ(half.bgra, (std::vector<std::uint8_t>{0, 0, 255, 255, 0, 0, 0, 0, 0, 0, 255, 255, 0, 0, 0, 0}));
  // One pixel covering it all: half the red, half the coverage.
  const Pixels one = scale_pixels(*decoded, 1, 1);
  EXPECT_EQ(one.bgra, (std::vector<std::uint8_t>{0, 0, 128, 128}));
  // A size that does not divide evenly still covers the source exactly once.
  const Pixels three = scale_pixels(*decoded, 3, 3);
  EXPECT_EQ(three.bgra[3], 255);
  EXPECT_EQ(three.bgra[4 * 1 + 3], 128);
  EXPECT_EQ(three.bgra[4 * 2 + 3], 0);
}

TEST(Picture, CorruptDataGivesNothing) {
  std::vector<std::uint8_t> png = half_red_png();
  EXPECT_FALSE(decode_png(png.data(), 10));
  png[png.size() / 2] ^= 0xFF;
  png[png.size() / 2 + 1] ^= 0xFF;
  EXPECT_FALSE(decode_png(png.data(), png.size()));
  EXPECT_FALSE(load_png_picture(GetModuleHandleA(nullptr), 101, 17, 17));  // not in the test program
}

}  // namespace
}  // namespace km
