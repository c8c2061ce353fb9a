#include "sim/tick.h"

#include "sim/engine_stages.h"
#include "sim/tick_driver.h"

namespace velmora::sim {

void tick(World& world, const TickInputs& in, Rng& rng, Surface& surface) {
  EngineStages stages(world, in, rng, surface);
  driveTick(world, in, stages);
}

void KlinK(World& world) {
  world.LastDisturbance = world.ElapsedSeconds;
}

}  // namespace velmora::sim
