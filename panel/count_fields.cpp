// The planet count fields: TXn (hidden; the store of the count) and the entries
// TXw(0..2), of which only TXw(0) reaches TXn.
#include "form/convert.h"
#include "panel/bounded_field.h"
#include "panel/panel.h"
#include "panel/planet_count.h"
#include "state/game.h"

namespace velmora {

void TXn_LostFocus(Game& g) {
  applyBounds(*g.TXn, upperBound(144), lowerBound(1));
}

void TXn_DblClick(Game& g) {
  g.TXn->setText(textOf(numberOf(g.TXn->text()) + 1));
  applyBound(*g.TXn, upperBound(144));
}

void TXw_LostFocus(Game& g, int) {
  copyPlanetCountEntry(g);
}

void TXw_DblClick(Game& g, int index) {
  Control& field = *g.TXw[index];
  field.setText(textOf(numberOf(field.text()) + 1));
  const auto n = strictNumberOf(field.text());
  if (n && *n > kMaxPlanetCount) field.setText(textOf(kMaxPlanetCount));
}

}  // namespace velmora
