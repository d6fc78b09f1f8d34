#include "app_icon.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <string>
#include <vector>

namespace mirasketch::icons {
namespace {

// A PNG file as straight-alpha RGBA rows; empty when it does not read.
std::vector<std::uint8_t> ReadRgba(const std::string& path, int& width, int& height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
  image.format = PNG_FORMAT_RGBA;
  std::vector<std::uint8_t> rgba(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) return {};
  width = static_cast<int>(image.width);
  height = static_cast<int>(image.height);
  return rgba;
}

// The committed icons are what the generator now paints, and at every size they show the
// emblem: transparent corners, the top sheet's white, the red stroke and the dark pen barrel.
TEST(AppIcon, CommittedIconsMatchTheGeneratorAtEverySize) {
  for (const int size : kAppIconSizes) {
    SCOPED_TRACE(size);
    int width = 0, height = 0;
    const std::vector<std::uint8_t> committed =
        ReadRgba(std::string(MIRASKETCH_DATA_DIR) + "/" + AppIconPath(size), width, height);
    ASSERT_FALSE(committed.empty()) << "regenerate with make_data";
    EXPECT_EQ(width, size);
    EXPECT_EQ(height, size);
    const std::vector<std::uint8_t> painted = PaintAppIcon(size);
    EXPECT_TRUE(committed == painted) << "the committed icon differs from the generator's";

    const auto alpha = [&](int x, int y) { return painted[(y * size + x) * 4 + 3]; };
    EXPECT_EQ(alpha(0, 0) + alpha(size - 1, 0) + alpha(0, size - 1) + alpha(size - 1, size - 1), 0);
    int white = 0, red = 0, dark = 0;
    for (std::size_t i = 0; i < painted.size(); i += 4) {
      if (painted[i + 3] != 255) continue;
      const int r = painted[i], g = painted[i + 1], b = painted[i + 2];
      white += r == 255 && g == 255 && b == 255;
      red += r > 150 && g < 100 && b < 100;
      dark += r < 80 && g < 80 && b < 80;
    }
    EXPECT_GT(white, size * size / 20);
    EXPECT_GT(red, 0);
    EXPECT_GT(dark, 0);
  }
}

}  // namespace
}  // namespace mirasketch::icons
