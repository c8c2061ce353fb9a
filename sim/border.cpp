#include "sim/border.h"

#include <cfloat>
#include <cmath>

namespace velmora::sim {

namespace {

constexpr double kFieldLeft = 900;

double rnd(Rng& rng) {
  return static_cast<double>(rng.next());
}

// The right and bottom tests compare the position rounded to single precision.
// Beyond the single range the rounding would be infinite; compare the value itself.
bool singleAbove(double position, double limit) {
  if (!(std::fabs(position) <= FLT_MAX)) return position > limit;
  return static_cast<double>(static_cast<float>(position)) > limit;
}

enum class Edge { kLeft, kRight, kTop, kBottom };

// The bottom edge of the field, as the rules place a body on it.
double fieldBottom(const TickInputs& in) {
  return static_cast<double>(in.H) - 300;
}

// Slomo and Wrap: the body comes back in at the opposite edge, the momentum across
// that edge divided by the border divisor.
void wrapAround(World& w, const TickInputs& in, int i, Edge edge) {
  const double d = w.BorderMomentumDivisor;
  switch (edge) {
    case Edge::kLeft:
      w.PlanetX[i] = in.W;
      w.MomentumX[i] = w.MomentumX[i] / d;
      break;
    case Edge::kRight:
      w.PlanetX[i] = kFieldLeft;
      w.MomentumX[i] = w.MomentumX[i] / d;
      break;
    case Edge::kTop:
      w.PlanetY[i] = fieldBottom(in);
      w.MomentumY[i] = w.MomentumY[i] / d;
      break;
    case Edge::kBottom:
      w.PlanetY[i] = 0;
      w.MomentumY[i] = w.MomentumY[i] / d;
      break;
  }
}

// Wall, Comet and Chaos: the momentum across the edge reversed and divided by
// `divisor`, the body set 30 twips inside; with `scatter` (Chaos) it also takes a
// random place along the edge.
void bounce(World& w, const TickInputs& in, Rng& rng, int i, Edge edge, double divisor,
            bool scatter) {
  double& x = w.PlanetX[i];
  double& y = w.PlanetY[i];
  const double W = in.W;
  const double H = in.H;
  const double bottom = fieldBottom(in);
  switch (edge) {
    case Edge::kLeft:
      w.MomentumX[i] = -w.MomentumX[i] / divisor;
      x = kFieldLeft + 30;
      if (scatter) y = std::floor(bottom * rnd(rng));
      break;
    case Edge::kRight:
      w.MomentumX[i] = -w.MomentumX[i] / divisor;
      x = W - 30;
      if (scatter) y = std::floor(bottom * rnd(rng));
      break;
    case Edge::kTop:
      w.MomentumY[i] = -w.MomentumY[i] / divisor;
      y = 30;
      // The new x comes from the height, as the game has it.
      if (scatter) x = std::floor((H - 900) * rnd(rng)) + 900;
      break;
    case Edge::kBottom:
      w.MomentumY[i] = -w.MomentumY[i] / divisor;
      y = bottom - 30;
      if (scatter) x = std::floor((H - 900) * rnd(rng)) + 900;
      break;
  }
}

// Die: the body stops on the edge it crossed and is switched off.
void dieOnEdge(World& w, const TickInputs& in, int i, Edge edge) {
  w.PlanetOff[i] = 1;
  switch (edge) {
    case Edge::kLeft:
      w.PlanetX[i] = kFieldLeft;
      break;
    case Edge::kRight:
      w.PlanetX[i] = in.W;
      break;
    case Edge::kTop:
      w.PlanetY[i] = 0;
      break;
    case Edge::kBottom:
      w.PlanetY[i] = fieldBottom(in);
      break;
  }
}

// Performs the selected rule for one crossed edge.
void applyRule(World& w, const TickInputs& in, Rng& rng, int i, Edge edge) {
  switch (in.borderOption) {
    case kSlomo:
    case kWrap:
      wrapAround(w, in, i, edge);
      break;
    case kWall:
      bounce(w, in, rng, i, edge, 1, false);
      break;
    case kComet:
      bounce(w, in, rng, i, edge, 2, false);
      break;
    case kChaos:
      bounce(w, in, rng, i, edge, 2, true);
      break;
    case kFourDim:
      Newton(w, in, rng, i);
      break;
    case kDie:
      dieOnEdge(w, in, i, edge);
      break;
    default:
      break;
  }
}

}  // namespace

void Newton(World& w, const TickInputs& in, Rng& rng, int n) {
  const double W = in.W;
  const double H = in.H;
  if (in.spin == 1) {
    w.MomentumY[n] = std::floor(rnd(rng) * w.StartSpin) + w.StartSpinQuarter;
    w.MomentumX[n] = std::floor(rnd(rng) * w.StartSpin) - w.StartSpinQuarter;
    const double rx = rnd(rng);
    w.PlanetX[n] = std::floor(W * 0.3 * rx) + W * 0.6;
    const double ry = rnd(rng);
    w.PlanetY[n] = std::floor(ry * H * 0.3) + H * 0.1;
    return;
  }
  // Without spin the new x, too, is drawn from the height.
  const double rx = rnd(rng);
  w.PlanetX[n] = std::floor((H - 900) * rx) + 900;
  const double ry = rnd(rng);
  w.PlanetY[n] = std::floor((H - 300) * ry);
}

int borderStep(World& w, const TickInputs& in, Rng& rng, int i) {
  if (in.borderOption < 0 || in.borderOption >= kBorderOptionCount) return 0;
  // The right limit is W itself; the bottom limit is rounded to single precision too.
  const double right = in.W;
  const double bottom = static_cast<float>(in.H - 300);
  int events = 0;
  const auto event = [&](Edge edge) {
    applyRule(w, in, rng, i, edge);
    KlinK(w);
    ++events;
  };
  if (w.PlanetX[i] < kFieldLeft) event(Edge::kLeft);
  if (singleAbove(w.PlanetX[i], right)) event(Edge::kRight);
  if (w.PlanetY[i] < 0) event(Edge::kTop);
  if (singleAbove(w.PlanetY[i], bottom)) event(Edge::kBottom);
  return events;
}

}  // namespace velmora::sim
