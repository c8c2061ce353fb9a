// The spread of the nova's debris, read only when a system starts.
#include "app/game.h"
#include "panel/bounded_field.h"
#include "panel/panel.h"

namespace velmora {

void TXTrange_LostFocus(Game& g) {
  applyBounds(*g.TXTrange, lowerBound(0.01), upperBound(0.5));
}

}  // namespace velmora
