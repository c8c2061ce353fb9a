// The border rule: what happens to a body that has left the playing field
// (x from 900 to W, y from 0 to H - 300).
#pragma once

#include "sim/tick.h"
#include "world/border_option.h"
#include "world/rng.h"
#include "world/world.h"

namespace velmora::sim {

// Tests the edges of body i in the order left, right, top, bottom, each test seeing
// what the one before left, applies the selected rule to every edge crossed and
// marks a disturbance per event. Applies to every body, off or not. Returns the
// number of border events.
int borderStep(World& world, const TickInputs& in, Rng& rng, int i);

// Newton: relaunches body n through the "4th dimension": with spin (in.spin == 1) a fresh
// momentum and a place in the upper right of the field (4 draws), else a random
// place with the momentum kept (2 draws).
void Newton(World& world, const TickInputs& in, Rng& rng, int n);

}  // namespace velmora::sim
