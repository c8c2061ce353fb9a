// One simulation tick over the tables: the motion and border pass, the gravity pass
// (pulls, close-approach kicks, body dots) and, when binding is on, the merging pass.
#pragma once

#include "form/surface.h"
#include "world/rng.h"
#include "world/world.h"

namespace velmora::sim {

// What the tick reads from the controls, once per tick.
struct TickInputs {
  bool sunFixed = false;  // CHsol is not 0: body 0 neither moves nor accelerates
  int borderOption = -1;  // the selected Och(i), a BorderOption; -1 when none is
  bool bind = true;       // Chbi is not 0: the merging pass runs
  int spin = 0;           // value of CHgod: relaunch with spin when 1
  int W = 17895;          // window's outer extents, twips
  int H = 13320;
};

// Advances the world by one tick. GravityExponent must already hold this tick's
// exponent. Draws on `surface`, draws random numbers from `rng`.
void tick(World& world, const TickInputs& in, Rng& rng, Surface& surface);

// KlinK: marks a disturbance: the stability clock restarts from the last elapsed time.
void KlinK(World& world);

}  // namespace velmora::sim
