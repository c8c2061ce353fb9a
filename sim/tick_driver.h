// The order of one tick, apart from what its stages do: which stage runs for which
// body or pair, in which order. Templated over the stages so that tests can watch
// the order, and the engine pays no indirection per pair.
#pragma once

#include <algorithm>

#include "sim/tick.h"
#include "world/world.h"

namespace velmora::sim {

// Stages must provide: move(i), border(i), startBody(i), pair(i, j), draw(i),
// accelerate(i), merge(a, b). PlanetOff is read live, so a body switched off by a
// stage is out of every later test. Stages may also provide beginGravity(top), told
// once positions are fixed; pairs(i), doing row i's pairs in the order below; and
// mayMerge() and mayMerge(a), false when nothing, or nothing in row a, can merge.
template <class Stages>
void driveTick(const World& w, const TickInputs& in, Stages& stages) {
  // Every loop runs downward, so the sun comes last; a negative count visits nobody.
  const int top = std::min<int>(w.PlanetCount, kMaxBodies - 1);
  const auto fixedSun = [&](int i) { return in.sunFixed && i == 0; };

  for (int i = top; i >= 0; --i) {
    if (w.PlanetOff[i] == 0 && !fixedSun(i)) stages.move(i);
    stages.border(i);
  }

  // Positions stay fixed from here on; only momenta change.
  if constexpr (requires { stages.beginGravity(top); }) stages.beginGravity(top);
  for (int i = top; i >= 0; --i) {
    stages.startBody(i);
    if (w.PlanetOff[i] != 1) {
      if constexpr (requires { stages.pairs(i); }) {
        stages.pairs(i);
      } else {
        for (int j = top; j >= 0; --j) {
          if (j != i && w.PlanetOff[j] != 1) stages.pair(i, j);
        }
      }
    }
    if (w.PlanetOff[i] == 0) {
      stages.draw(i);
      if (!fixedSun(i)) stages.accelerate(i);
    }
  }

  if (!in.bind) return;
  if constexpr (requires { stages.mayMerge(); }) {
    if (!stages.mayMerge()) return;
  }
  for (int a = top; a >= 0; --a) {
    if constexpr (requires { stages.mayMerge(a); }) {
      if (!stages.mayMerge(a)) continue;
    }
    for (int b = top; b >= 0; --b) {
      // Tested for every b: once a is absorbed the rest of its row does nothing.
      if (w.PlanetOff[b] != 1 && w.PlanetOff[a] != 1 && a != b) stages.merge(a, b);
    }
  }
}

}  // namespace velmora::sim
