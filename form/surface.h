// The drawing surface: 32-bit pixels, one per 15 twips of the playing field, that
// keep what was plotted until cleared. Plotting outside it is ignored.
#pragma once

#include <cstdint>
#include <vector>

#include "form/control.h"

namespace velmora {

inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kFieldLeft = 900;       // twips: the field starts right of the strip
inline constexpr int kFieldBottomGap = 300;  // twips below the field

class Surface {
 public:
  // A field for a window of widthTwips x heightTwips: x from 900 to W, y from 0 to H - 300.
  Surface(int widthTwips = 17895, int heightTwips = 13320);

  // Resizes to a new window size, keeping what overlaps.
  void resizeForWindow(int widthTwips, int heightTwips);

  // Plots one point at (x, y) in twips of the window.
  void plot(int64_t xTwips, int64_t yTwips, Rgb color);
  // Fetches the picture's memory for a plot there soon, so that the plot does not
  // wait for it: a hint for the processor, which changes nothing.
  void prefetch(int64_t xTwips, int64_t yTwips) const;
  void clear();
  // Takes `pixels` (0xFFRRGGBB, row by row) as the whole picture; false, and
  // nothing changed, when their number is not width * height.
  bool assign(std::vector<uint32_t> pixels);
  // The field's size in pixels for a window of widthTwips x heightTwips.
  static int fieldWidthFor(int widthTwips);
  static int fieldHeightFor(int heightTwips);

  int width() const { return width_; }    // pixels
  int height() const { return height_; }  // pixels
  // 0xFFRRGGBB, row by row.
  const std::vector<uint32_t>& pixels() const { return pixels_; }
  uint32_t pixel(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  // Counts every plot and clear, so a face can repaint only when something changed.
  uint64_t generation() const { return generation_; }

  static uint32_t pack(Rgb c) {
    return 0xFF000000u | (static_cast<uint32_t>(c.r & 255) << 16) |
           (static_cast<uint32_t>(c.g & 255) << 8) | static_cast<uint32_t>(c.b & 255);
  }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<uint32_t> pixels_;
  uint64_t generation_ = 0;
};

}  // namespace velmora
