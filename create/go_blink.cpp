#include <cstdint>
#include "create/create.h"

#include "app/game.h"

namespace velmora {

// Not built yet.
void Timero_Timer(Game&) {}

}  // namespace velmora
