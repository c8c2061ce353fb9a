#include "create/placement.h"

#include <cmath>

#include "form/convert.h"
#include "state/game.h"

namespace velmora {

namespace {

// Every draw is widened first, so the arithmetic around it is in 64 bits.
double draw(Game& g) {
  return g.rng.next();
}

float colourDraw(Game& g) {
  return static_cast<float>(std::floor(draw(g) * 200) + 50);
}

// Planets scattered over the middle 70 % of the window, at least four sun radii
// from the sun, with momenta of either sign.
void placeFree(Game& g, int i) {
  World& w = g.world;
  const double W = g.W();
  const double H = g.H();
  for (int attempt = 1; g.CHgod->value() == 0; ++attempt) {
    w.MomentumX[i] = draw(g) * w.StartSpinSpan - w.StartSpin;
    w.MomentumY[i] = draw(g) * w.StartSpinSpan - w.StartSpin;
    w.PlanetX[i] = draw(g) * W * 0.7 + W * 0.15;
    w.PlanetY[i] = draw(g) * H * 0.7 + H * 0.15;
    const double dx = w.PlanetX[0] - w.PlanetX[i];
    const double dy = w.PlanetY[0] - w.PlanetY[i];
    const double d = std::sqrt(dx * dx + dy * dy);
    if (d >= 4 * numberOf(g.TXsrad->text())) break;
    if (attempt >= kMaxPlacementAttempts) break;
  }
}

// The debris of a nova: a rectangle s W wide and s H high centred at (0.7 W,
// 0.25 H), every momentum positive.
void placeSpin(Game& g, int i, double s) {
  World& w = g.world;
  const double W = g.W();
  const double H = g.H();
  const double o = (0.5 - s) / 2;
  w.MomentumX[i] = draw(g) * w.StartSpin + w.StartSpinQuarter;
  w.MomentumY[i] = draw(g) * w.StartSpin + w.StartSpinQuarter;
  w.PlanetX[i] = W * s * draw(g) + (o + 0.45) * W;
  w.PlanetY[i] = H * s * draw(g) + H * o;
}

}  // namespace

void colourBody(Game& g, int i) {
  World& w = g.world;
  w.PlanetRed[i] = colourDraw(g);
  w.PlanetGreen[i] = colourDraw(g);
  w.PlanetBlue[i] = colourDraw(g);
}

void colourBodies(Game& g) {
  World& w = g.world;
  for (int i = 1; i <= w.PlanetCount; ++i) colourBody(g, i);
  w.PlanetRed[0] = 255;
  w.PlanetGreen[0] = 191;
  w.PlanetBlue[0] = 128;
}

double planetTypeOf(double gravity) {
  if (gravity > 0.03) return 1;
  if (gravity > 0.002) return 2;
  if (gravity > 0.0001) return 3;
  return 4;
}

void placePlanets(Game& g, double spread, double g1, double g3) {
  World& w = g.world;
  for (int i = 1; i <= w.PlanetCount; ++i) {
    placeFree(g, i);
    if (g.CHgod->value() == 1) placeSpin(g, i, spread);
    if (g.CHgr->value() == 0) {
      w.PlanetGravity[i] = numberOf(g.TXg[kTxgPlanetGravity]->text());
    } else {
      w.PlanetGravity[i] = std::fabs((g3 - g1) * draw(g) + g1);
    }
    w.PlanetType[i] = planetTypeOf(w.PlanetGravity[i]);
  }
}

}  // namespace velmora
