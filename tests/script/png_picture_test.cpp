// The saved picture's PNG reads back, through Qt's reader as an open does, to the
// very pixels written: each channel in its place, at any width.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdint>
#include <vector>

#include "platform/png_picture.h"

namespace velmora {
namespace {

std::vector<uint32_t> readBack(const std::string& png, int& width, int& height) {
  QImage image;
  EXPECT_TRUE(image.loadFromData(reinterpret_cast<const uchar*>(png.data()),
                                 static_cast<int>(png.size()), "PNG"));
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  width = rgb.width();
  height = rgb.height();
  std::vector<uint32_t> pixels;
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(rgb.constScanLine(y));
    pixels.insert(pixels.end(), row, row + rgb.width());
  }
  return pixels;
}

TEST(PngPicture, ReadsBackToTheSamePixelsAtEveryWidth) {
  for (const auto& [width, height] : {std::pair{1, 1}, {3, 2}, {7, 5}, {64, 3}}) {
    std::vector<uint32_t> pixels;
    for (int i = 0; i < width * height; ++i) {
      // Red, green and blue differ in every pixel, so a swapped channel shows.
      pixels.push_back(0xff000000u | (static_cast<uint32_t>(i * 37 % 256) << 16) |
                       (static_cast<uint32_t>(i * 11 % 256) << 8) | (i % 2 ? 0u : 200u));
    }
    const auto png = encodePng(pixels.data(), width, height);
    ASSERT_TRUE(png);
    int w = 0, h = 0;
    EXPECT_EQ(readBack(*png, w, h), pixels) << width << " x " << height;
    EXPECT_EQ(w, width);
    EXPECT_EQ(h, height);
  }
}

TEST(PngPicture, AnEmptyPictureIsNotWritten) {
  const uint32_t pixel = 0xff102030u;
  EXPECT_FALSE(encodePng(&pixel, 0, 1));
  EXPECT_FALSE(encodePng(&pixel, 1, -1));
}

}  // namespace
}  // namespace velmora
