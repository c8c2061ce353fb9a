#include "form/surface.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace velmora {

namespace {

int pixelsFor(int twips) {
  return twips <= 0 ? 0 : (twips + kTwipsPerPixel - 1) / kTwipsPerPixel;
}

// Floor division, so that points just left of or above the field fall outside.
int64_t floorDiv(int64_t a, int64_t b) {
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// The pixel a point in twips falls on, row by row in a picture of width x height;
// -1 off the picture.
int64_t pixelAt(int64_t xTwips, int64_t yTwips, int width, int height) {
  const int64_t px = floorDiv(xTwips - kFieldLeft, kTwipsPerPixel);
  const int64_t py = floorDiv(yTwips, kTwipsPerPixel);
  if (px < 0 || py < 0 || px >= width || py >= height) return -1;
  return py * width + px;
}

}  // namespace

Surface::Surface(int widthTwips, int heightTwips) {
  resizeForWindow(widthTwips, heightTwips);
}

int Surface::fieldWidthFor(int widthTwips) {
  return pixelsFor(widthTwips - kFieldLeft);
}

int Surface::fieldHeightFor(int heightTwips) {
  return pixelsFor(heightTwips - kFieldBottomGap);
}

bool Surface::assign(std::vector<uint32_t> pixels) {
  if (pixels.size() != pixels_.size()) return false;
  pixels_ = std::move(pixels);
  ++generation_;
  return true;
}

void Surface::resizeForWindow(int widthTwips, int heightTwips) {
  const int w = fieldWidthFor(widthTwips);
  const int h = fieldHeightFor(heightTwips);
  if (w == width_ && h == height_) return;
  std::vector<uint32_t> next(static_cast<size_t>(w) * h, pack({0, 0, 0}));
  const int keepW = std::min(w, width_);
  const int keepH = std::min(h, height_);
  for (int y = 0; y < keepH; ++y) {
    std::copy_n(pixels_.begin() + static_cast<std::ptrdiff_t>(y) * width_, keepW,
                next.begin() + static_cast<std::ptrdiff_t>(y) * w);
  }
  pixels_ = std::move(next);
  width_ = w;
  height_ = h;
  ++generation_;
}

void Surface::plot(int64_t xTwips, int64_t yTwips, Rgb color) {
  const int64_t at = pixelAt(xTwips, yTwips, width_, height_);
  if (at < 0) return;
  pixels_[static_cast<size_t>(at)] = pack(color);
  ++generation_;
}

void Surface::prefetch(int64_t xTwips, int64_t yTwips) const {
  const int64_t at = pixelAt(xTwips, yTwips, width_, height_);
  if (at >= 0) __builtin_prefetch(&pixels_[static_cast<size_t>(at)], 1);
}

void Surface::clear() {
  std::fill(pixels_.begin(), pixels_.end(), pack({0, 0, 0}));
  ++generation_;
}

}  // namespace velmora
