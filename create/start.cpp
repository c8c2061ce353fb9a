#include <cstdint>
#include "create/create.h"

#include "app/game.h"

namespace velmora {

// Not built yet.
void Command2_Click(Game&) {}

}  // namespace velmora
