// The gravity fields TXg(0..3) and the random gravity box CHgr.
#include <string>

#include "form/convert.h"
#include "panel/bounded_field.h"
#include "panel/panel.h"
#include "state/game.h"

namespace velmora {

namespace {

constexpr double kLeastGravity = 0.000001;

// The sun's gravity comes from the strict number of TXg(0); a text that is not
// wholly a number leaves it as it was.
void storeSunGravity(Game& g) {
  if (const auto sun = strictNumberOf(g.TXg[kTxgSunGravity]->text()))
    g.world.PlanetGravity[0] = *sun;
}

}  // namespace

void TXg_LostFocus(Game& g, int index) {
  Control& field = *g.TXg[index];
  if (index == kTxgSunGravity || index == kTxgPlanetGravity)
    applyBound(field, lowerBound(kLeastGravity));
  storeSunGravity(g);
  if (index == kTxgExponent) applyBounds(field, lowerBound(0.4), upperBound(2.6));
}

void CHgr_Click(Game& g) {
  // Character codes, left to right, a proper prefix first: std::string's order.
  if (g.TXg[kTxgPlanetGravityMost]->text() <= g.TXg[kTxgPlanetGravity]->text()) {
    if (const auto least = strictNumberOf(g.TXg[kTxgPlanetGravity]->text()))
      g.TXg[kTxgPlanetGravityMost]->setText(textOf(2 * *least));
  }
  if (g.CHgr->value() == 0) g.TXg[kTxgPlanetGravityMost]->setText("");
}

}  // namespace velmora
