// One pair of the merging pass: two bodies within range fuse into one.
#pragma once

#include "form/surface.h"
#include "world/rng.h"
#include "world/world.h"

namespace velmora::sim {

// Merges bodies a and b (both taking part, a != b) when their distance d satisfies
// 0 < d < range (SunRadius with the sun, BondRange otherwise). The heavier body
// survives at its place (on equal gravity a survives) with the sum of both gravities
// and the gravity-weighted mean of both momenta; the other is switched off and keeps
// its entries. Draws the impact and marks a disturbance. Returns whether it merged.
bool mergeStep(World& world, int a, int b, Rng& rng, Surface& surface);

}  // namespace velmora::sim
