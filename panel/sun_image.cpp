#include "panel/sun_image.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>

#include "form/control.h"
#include "form/convert.h"

namespace velmora {

namespace {

// A sun that has drifted far away still gives a coordinate, at the edge of the
// range; a position that is no number at all gives none.
std::optional<int32_t> twipsOf(double v) {
  constexpr double lo = std::numeric_limits<int32_t>::min();
  constexpr double hi = std::numeric_limits<int32_t>::max();
  return wholeNumber32(std::clamp(v, lo, hi));
}

}  // namespace

void centreImageOn(Control& image, double x, double y) {
  if (const auto left = twipsOf(x - image.width() / 2.0)) image.setLeft(*left);
  if (const auto top = twipsOf(y - image.height() / 2.0)) image.setTop(*top);
}

}  // namespace velmora
