#include "panel/spin_default.h"

#include <cmath>

#include "form/convert.h"

namespace velmora {

std::string spinForWidth(double numerator, int widthTwips) {
  // A window always has a width; a zero one would give no number at all.
  if (widthTwips <= 0) return textOf(0);
  return textOf(std::floor(numerator / widthTwips));
}

}  // namespace velmora
