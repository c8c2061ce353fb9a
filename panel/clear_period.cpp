#include "panel/clear_period.h"

#include "form/convert.h"
#include "state/game.h"

namespace velmora {

void setClearPeriod(Game& g) {
  const auto ms = wholeNumber32(numberOf(g.TXref->text()) * 1000);
  if (ms && *ms >= 0 && *ms <= 65535) g.Tiball->setInterval(*ms);
}

}  // namespace velmora
