#include <cstdint>
#include "panel/panel.h"

#include "app/game.h"

namespace velmora {

// Not built yet.
void CDp_Click(Game&, int) {}

}  // namespace velmora
