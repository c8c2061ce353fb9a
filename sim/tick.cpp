#include "sim/tick.h"

namespace velmora::sim {

// Not built yet.
void tick(World&, const TickInputs&, Rng&, Surface&) {}

void KlinK(World& world) {
  world.LastDisturbance = world.ElapsedSeconds;
}

}  // namespace velmora::sim
