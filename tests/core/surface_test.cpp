// The drawing surface's mapping of twips to pixels at the field's edges.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <utility>

#include "form/surface.h"

namespace velmora {
namespace {

int plotted(const Surface& s) {
  return static_cast<int>(std::count_if(s.pixels().begin(), s.pixels().end(), [](uint32_t p) {
    return p != Surface::pack({0, 0, 0});
  }));
}

TEST(Surface, PointsFallOnTheirPixelAndNothingOutsideIsPlotted) {
  Surface s(kFieldLeft + 15 * 40, 15 * 30 + kFieldBottomGap);  // 40 x 30 pixels
  ASSERT_EQ(s.width(), 40);
  ASSERT_EQ(s.height(), 30);
  const uint32_t red = Surface::pack({255, 0, 0});
  const auto at = [&s](int x, int y) { return s.pixels()[static_cast<size_t>(y) * 40 + x]; };

  // The first and last twips of a pixel land on it; the next twip on its neighbour.
  s.plot(kFieldLeft + 15 * 3, 15 * 2, {255, 0, 0});
  s.plot(kFieldLeft + 15 * 4 - 1, 15 * 3 - 1, {0, 255, 0});
  s.plot(kFieldLeft + 15 * 39 + 14, 15 * 29 + 14, {0, 0, 255});
  EXPECT_EQ(at(3, 2), Surface::pack({0, 255, 0}));
  EXPECT_EQ(at(39, 29), Surface::pack({0, 0, 255}));
  EXPECT_EQ(plotted(s), 2);
  s.plot(kFieldLeft, 0, {255, 0, 0});
  EXPECT_EQ(at(0, 0), red);

  // Just left of the field, above it, and past its right and bottom edges: nothing,
  // and the picture counts no change. Far out, no overflow.
  const uint64_t before = s.generation();
  for (const auto& [x, y] : {std::pair<int64_t, int64_t>{kFieldLeft - 1, 0},
                             {kFieldLeft, -1},
                             {kFieldLeft + 15 * 40, 0},
                             {kFieldLeft, 15 * 30},
                             {-(int64_t{1} << 62), int64_t{1} << 62},
                             {int64_t{1} << 62, -(int64_t{1} << 62)}}) {
    s.plot(x, y, {255, 255, 255});
    s.prefetch(x, y);
  }
  EXPECT_EQ(s.generation(), before);
  EXPECT_EQ(plotted(s), 3);
}

}  // namespace
}  // namespace velmora
