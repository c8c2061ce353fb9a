// A running system built the way "Go" leaves it, for the editor's tests: bodies
// 0..count inside the field with small momenta, the planet count in TXn, the
// simulation and clock timers running and "Pause" shown.
#pragma once

#include <string>

#include "game_fixture.h"

namespace velmora::testing {

inline void startSystem(GameFixture& f, int count) {
  Game& g = f.g;
  World& w = g.world;
  w.PlanetCount = static_cast<int16_t>(count);
  // The panel's defaults, as "Go" stores them: keeps pulls and kicks bounded.
  w.PlanetRadius = 6;
  w.BondRange = 5;
  w.SunRadius = 200;
  w.ImpactJitter = 1;
  w.ImpactJitterSpan = 3;
  w.StartSpin = 10;
  w.StartSpinSpan = 21;
  w.StartSpinQuarter = 2;
  for (int i = 0; i <= count; ++i) {
    w.PlanetX[i] = 2000 + 37.25 * i;
    w.PlanetY[i] = 1500 + 21.5 * i;
    w.MomentumX[i] = (i % 7) - 3 + 0.125;
    w.MomentumY[i] = (i % 5) - 2 - 0.25;
    w.PlanetGravity[i] = i == 0 ? 100 : 0.0005 * i;
    w.PlanetRed[i] = static_cast<float>(i % 256);
    w.PlanetGreen[i] = 200;
    w.PlanetBlue[i] = 255;
  }
  g.TXn->setText(std::to_string(count));
  g.Ti->setEnabled(true);
  g.TiK->setEnabled(true);
  g.Command5->setVisible(true);
}

inline void pauseOrResume(GameFixture& f) {
  f.click(*f.g.Command5);
}

}  // namespace velmora::testing
