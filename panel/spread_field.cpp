// The spread of the nova's debris, read only when a system starts.
#include "panel/bounded_field.h"
#include "panel/panel.h"
#include "state/game.h"

namespace velmora {

void TXTrange_LostFocus(Game& g) {
  applyBounds(*g.TXTrange, lowerBound(0.01), upperBound(0.5));
}

}  // namespace velmora
