#include "create/bomb.h"

namespace velmora {

// Not built yet.
void Bomb(int32_t, int32_t, int, int, int, const World&, Rng&, Surface&) {}

}  // namespace velmora
