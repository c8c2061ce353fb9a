#include "panel/planet_count.h"

#include <algorithm>
#include <cmath>

#include "form/convert.h"
#include "state/game.h"

namespace velmora {

int16_t planetCountOf(std::string_view text) {
  const double n = std::min(std::fabs(numberOf(text)), double{kMaxPlanetCount});
  return *wholeNumber16(n);  // within 0..999, so it always fits
}

void copyPlanetCountEntry(Game& g) {
  const std::string& entry = g.TXw[0]->text();
  if (std::fabs(numberOf(entry)) > kMaxPlanetCount) {
    g.TXn->setText(textOf(kMaxPlanetCount));
  } else {
    g.TXn->setText(entry);
  }
}

}  // namespace velmora
