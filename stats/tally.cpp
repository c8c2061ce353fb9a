#include "stats/stats.h"
#include <cstdint>

#include "app/game.h"

namespace velmora {

// Not built yet.
void MkTally(Game&) {}
void upHI(Game&) {}
void loadTally(Game&) {}

}  // namespace velmora
