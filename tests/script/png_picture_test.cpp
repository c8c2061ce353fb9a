// The saved picture's PNG reads back, through Qt's reader and through the game's own,
// to the very pixels written: each channel in its place, at any width. The game's
// reader takes PNGs of other kinds as Qt does, and asks for the size first.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <cstdint>
#include <cstring>
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

std::vector<uint32_t> distinctPixels(int width, int height) {
  std::vector<uint32_t> pixels;
  for (int i = 0; i < width * height; ++i) {
    pixels.push_back(0xff000000u | (static_cast<uint32_t>(i * 37 % 256) << 16) |
                     (static_cast<uint32_t>(i * 11 % 256) << 8) | (i % 2 ? 0u : 200u));
  }
  return pixels;
}

PngPicture decodeAny(std::string_view png) {
  return decodePng(png, [](int, int) { return true; });
}

TEST(PngPicture, DecodesWhatItEncodesAtEveryWidth) {
  for (const auto& [width, height] : {std::pair{1, 1}, {3, 2}, {7, 5}, {64, 3}, {1000, 2}}) {
    const auto pixels = distinctPixels(width, height);
    const auto png = encodePng(pixels.data(), width, height);
    ASSERT_TRUE(png);
    const PngPicture got = decodeAny(*png);
    EXPECT_EQ(got.outcome, PngPicture::Outcome::kDecoded);
    EXPECT_EQ(got.width, width);
    EXPECT_EQ(got.height, height);
    EXPECT_EQ(got.pixels, pixels) << width << " x " << height;
  }
}

// Pictures Qt writes in other formats (grey, a palette, 16 bits a channel, rows
// filtered by libpng's choice) decode to what Qt's own reader makes of them.
TEST(PngPicture, ReadsOtherKindsAsQtDoes) {
  QImage rgb(13, 7, QImage::Format_RGB32);
  const auto pixels = distinctPixels(13, 7);
  for (int y = 0; y < 7; ++y) std::memcpy(rgb.scanLine(y), pixels.data() + y * 13, 13 * 4);
  for (const QImage::Format format :
       {QImage::Format_RGB32, QImage::Format_Grayscale8, QImage::Format_Indexed8,
        QImage::Format_RGBX64, QImage::Format_Mono}) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(rgb.convertToFormat(format).save(&buffer, "PNG"));
    const std::string bytes = png.toStdString();
    int w = 0, h = 0;
    const auto want = readBack(bytes, w, h);
    const PngPicture got = decodeAny(bytes);
    EXPECT_EQ(got.outcome, PngPicture::Outcome::kDecoded) << format;
    EXPECT_EQ(got.pixels, want) << "format " << format;
  }
}

TEST(PngPicture, ShowsItsSizeBeforeDecodingAndDecodesOnlyWhenAsked) {
  const auto pixels = distinctPixels(40, 30);
  const auto png = encodePng(pixels.data(), 40, 30);
  ASSERT_TRUE(png);
  int askedW = 0, askedH = 0;
  const PngPicture declined = decodePng(*png, [&](int w, int h) {
    askedW = w;
    askedH = h;
    return false;
  });
  EXPECT_EQ(askedW, 40);
  EXPECT_EQ(askedH, 30);
  EXPECT_EQ(declined.outcome, PngPicture::Outcome::kDeclined);
  EXPECT_TRUE(declined.pixels.empty());

  EXPECT_EQ(decodeAny("GIF89a").outcome, PngPicture::Outcome::kNotPng);
  EXPECT_EQ(decodeAny(png->substr(0, 20)).outcome, PngPicture::Outcome::kNotPng);
  const PngPicture cut = decodeAny(png->substr(0, png->size() - 30));
  EXPECT_EQ(cut.outcome, PngPicture::Outcome::kDamaged);
  EXPECT_TRUE(cut.pixels.empty());
}

TEST(PngPicture, AnEmptyPictureIsNotWritten) {
  const uint32_t pixel = 0xff102030u;
  EXPECT_FALSE(encodePng(&pixel, 0, 1));
  EXPECT_FALSE(encodePng(&pixel, 1, -1));
}

}  // namespace
}  // namespace velmora
