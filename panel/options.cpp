// The three option boxes with their companions: automatic clearing (CHr, TXref,
// Tiball), the frozen seed (CHran, TXran, Tr) and the fixed sun (CHsol, ImSun).
#include "panel/bounded_field.h"
#include "panel/clear_period.h"
#include "panel/panel.h"
#include "panel/sun_image.h"
#include "state/game.h"

namespace velmora {

namespace {

// Stopping first gives the new period a fresh start even when it did not change.
void rearmClearing(Game& g) {
  g.Tiball->setEnabled(false);
  setClearPeriod(g);
  g.Tiball->setEnabled(true);
}

}  // namespace

void CHr_Click(Game& g) {
  if (g.CHr->value() == 1) {
    g.TXref->setVisible(true);
    rearmClearing(g);
  } else {
    g.TXref->setVisible(false);
    g.Tiball->setEnabled(false);
  }
}

void TXref_LostFocus(Game& g) {
  if (g.CHr->value() == 1) rearmClearing(g);
}

void CHran_Click(Game& g) {
  g.Tr->setEnabled(g.CHran->value() != 1);
}

void TXran_LostFocus(Game& g) {
  applyBounds(*g.TXran, lowerBound(-32767), upperBound(32767));
}

void CHsol_Click(Game& g) {
  showSunIfChecked(g);
}

void showSunIfChecked(Game& g) {
  if (g.CHsol->value() == 1) {
    centreImageOn(*g.ImSun, g.world.PlanetX[0], g.world.PlanetY[0]);
    g.ImSun->setVisible(true);
  } else {
    g.ImSun->setVisible(false);
  }
}

}  // namespace velmora
