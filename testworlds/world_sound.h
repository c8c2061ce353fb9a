// What must hold after any player action or tick, whatever was typed: a body count
// inside the tables, finite entries, timer periods a timer can hold, and a surface
// that shows exactly the window's field. Shared by the soak runs and the fuzzers.
#pragma once

#include <cmath>
#include <string>

#include "state/game.h"

namespace velmora::soak {

// The first broken promise, or an empty text when the game is sound.
inline std::string unsoundness(const Game& g) {
  const World& w = g.world;
  if (w.PlanetCount < 0 || w.PlanetCount > 999) {
    return "PlanetCount " + std::to_string(w.PlanetCount);
  }
  for (int i = 0; i < kMaxBodies; ++i) {
    const double entries[] = {w.PlanetX[i],   w.PlanetY[i],       w.MomentumX[i],
                              w.MomentumY[i], w.PlanetGravity[i], w.PlanetType[i],
                              w.PlanetRed[i], w.PlanetGreen[i],   w.PlanetBlue[i]};
    for (const double v : entries) {
      if (!std::isfinite(v)) return "entry of body " + std::to_string(i) + " not finite";
    }
    if (w.PlanetOff[i] != 0 && w.PlanetOff[i] != 1) {
      return "PlanetOff(" + std::to_string(i) + ") " + std::to_string(w.PlanetOff[i]);
    }
  }
  if (!std::isfinite(w.GravityExponent)) return "GravityExponent not finite";
  if (!std::isfinite(w.TopScore) || !std::isfinite(w.HighScore)) return "score not finite";
  for (const Control* t : g.fs7.timers()) {
    if (t->interval() < 0 || t->interval() > 65535) {
      return t->id() + ".Interval " + std::to_string(t->interval());
    }
  }
  const auto pixels = [](int twips) {
    return twips <= 0 ? 0 : (twips + kTwipsPerPixel - 1) / kTwipsPerPixel;
  };
  const Surface& s = g.surface;
  if (s.width() != pixels(g.W() - kFieldLeft) || s.height() != pixels(g.H() - kFieldBottomGap) ||
      s.pixels().size() != static_cast<size_t>(s.width()) * s.height()) {
    return "surface " + std::to_string(s.width()) + "x" + std::to_string(s.height()) +
           " for a window of " + std::to_string(g.W()) + "x" + std::to_string(g.H());
  }
  return {};
}

}  // namespace velmora::soak
