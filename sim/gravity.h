// One ordered pair of the gravity pass: the pull of body j on body i, or the
// random kick that pushes a close pair of planets apart.
#pragma once

#include "form/surface.h"
#include "world/rng.h"
#include "world/world.h"

namespace velmora::sim {

// The last force computed in this tick. It is carried from pair to pair (and from
// body to body): pairs that compute no force add it again.
struct CarriedForce {
  double fx = 0;
  double fy = 0;
};

// Computes the force of pair (i, j) into `force`, with the sign of fy corrected for
// the pair's dy, ready to be added to body i's sums. A kick changes the momenta of
// both bodies at once and leaves no force. Both bodies must take part (not off).
void pairStep(World& world, int i, int j, CarriedForce& force, Rng& rng, Surface& surface);

// pairStep's force alone, for a pair that does not kick: draws nothing, changes no
// table, so rows of such pairs may be summed on any thread. Returns false, leaving
// `force` as it was, for a pair that would kick.
bool pairPull(const World& world, int i, int j, CarriedForce& force);

// The kick of a close pair alone, for a row whose sums are known: its draws, its
// sparks and the momenta of both bodies, as pairStep makes them. The force it leaves
// (0, turned for the pair's dy) is the caller's.
void kickApart(World& world, int i, int j, Rng& rng, Surface& surface);

}  // namespace velmora::sim
