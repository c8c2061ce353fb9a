// Small worlds for the simulation tests: bodies listed by hand on top of the
// panel's default settings.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

#include "form/surface.h"
#include "sim/tick.h"
#include "world/world.h"

namespace velmora::testing {

struct Body {
  double x = 0;
  double y = 0;
  double mx = 0;
  double my = 0;
  double gravity = 0;
  int16_t off = 0;
};

// Settings as the panel starts them (radius 6, bond range 5, sun radius 200,
// jitter 1, spin 10, exponent 2); body 0 has the sun's colour, planets a grey.
inline std::unique_ptr<World> makeWorld(const std::vector<Body>& bodies) {
  auto w = std::make_unique<World>();
  w->PlanetCount = static_cast<int16_t>(bodies.size() - 1);
  w->GravityExponent = 2;
  w->PlanetRadius = 6;
  w->BondRange = 5;
  w->SunRadius = 200;
  w->ImpactJitter = 1;
  w->ImpactJitterSpan = 3;
  w->StartSpin = 10;
  w->StartSpinSpan = 21;
  w->StartSpinQuarter = 2;
  w->BorderMomentumDivisor = 1;
  for (size_t i = 0; i < bodies.size(); ++i) {
    const Body& b = bodies[i];
    w->PlanetX[i] = b.x;
    w->PlanetY[i] = b.y;
    w->MomentumX[i] = b.mx;
    w->MomentumY[i] = b.my;
    w->PlanetGravity[i] = b.gravity;
    w->PlanetOff[i] = b.off;
    const float grey = static_cast<float>(60 + 10 * (i % 19));
    w->PlanetRed[i] = w->PlanetGreen[i] = w->PlanetBlue[i] = grey;
  }
  w->PlanetRed[0] = 255;
  w->PlanetGreen[0] = 191;
  w->PlanetBlue[0] = 128;
  return w;
}

// No border rule and no merging: only motion and gravity act.
inline sim::TickInputs gravityOnly() {
  sim::TickInputs in;
  in.borderOption = -1;
  in.bind = false;
  return in;
}

// FNV-1a over raw bytes, for golden values of whole runs.
inline uint64_t fnv1a(const void* data, size_t size, uint64_t h = 1469598103934665603ull) {
  const auto* p = static_cast<const unsigned char*>(data);
  for (size_t k = 0; k < size; ++k) h = (h ^ p[k]) * 1099511628211ull;
  return h;
}

}  // namespace velmora::testing
