#include "stats/stats.h"
#include <cstdint>

#include "app/game.h"

namespace velmora {

// Not built yet.
void TiK_Timer(Game&) {}

}  // namespace velmora
