// Circular orbits under the game's own law: a body at distance r from one of
// gravity G is pulled kGravityScale * G / r^x per tick, and moves by its momentum
// before it is pulled, so a momentum of sqrt(pull * r) across the line to that
// body keeps it circling.
#pragma once

#include <optional>

#include "world/world.h"

namespace velmora::sim {

struct Momentum {
  double x = 0;
  double y = 0;
};

// The live body that pulls `body` most at the exponent x (bodies beyond the
// planet radius, which pull; a gravity of 0 or less pulls nothing). None when no
// body pulls it.
std::optional<int> strongestPuller(const World& w, int body, double exponent);

// The momentum that puts `body` on a circular orbit about `centre`, relative to
// the centre's own momentum. It keeps the body's sense of turning about the
// centre; a body that does not turn goes anticlockwise on the screen. None when
// the centre does not pull it.
std::optional<Momentum> circularOrbit(const World& w, int body, int centre, double exponent);

}  // namespace velmora::sim
