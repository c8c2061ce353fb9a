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

// Performs the rule for one crossed edge.
void applyRule(World& w, const TickInputs& in, Rng& rng, int i, Edge edge) {
  double& x = w.PlanetX[i];
  double& y = w.PlanetY[i];
  double& mx = w.MomentumX[i];
  double& my = w.MomentumY[i];
  const double W = in.W;
  const double H = in.H;
  const double bottom = H - 300;
  switch (in.borderOption) {
    case kWrap:
    case kSlomo: {
      const double d = w.BorderMomentumDivisor;
      switch (edge) {
        case Edge::kLeft:
          x = W;
          mx = mx / d;
          break;
        case Edge::kRight:
          x = kFieldLeft;
          mx = mx / d;
          break;
        case Edge::kTop:
          y = bottom;
          my = my / d;
          break;
        case Edge::kBottom:
          y = 0;
          my = my / d;
          break;
      }
      break;
    }
    case kWall:
    case kComet:
    case kChaos: {
      // Wall reverses the component; Comet and Chaos also halve it.
      const double divisor = in.borderOption == kWall ? 1 : 2;
      const bool chaos = in.borderOption == kChaos;
      switch (edge) {
        case Edge::kLeft:
          mx = -mx / divisor;
          x = kFieldLeft + 30;
          if (chaos) y = std::floor(bottom * rnd(rng));
          break;
        case Edge::kRight:
          mx = -mx / divisor;
          x = W - 30;
          if (chaos) y = std::floor(bottom * rnd(rng));
          break;
        case Edge::kTop:
          my = -my / divisor;
          y = 30;
          // The new x comes from the height, as the game has it.
          if (chaos) x = std::floor((H - 900) * rnd(rng)) + 900;
          break;
        case Edge::kBottom:
          my = -my / divisor;
          y = bottom - 30;
          if (chaos) x = std::floor((H - 900) * rnd(rng)) + 900;
          break;
      }
      break;
    }
    case kFourDim:
      Newton(w, in, rng, i);
      break;
    case kDie:
      w.PlanetOff[i] = 1;
      switch (edge) {
        case Edge::kLeft:
          x = kFieldLeft;
          break;
        case Edge::kRight:
          x = W;
          break;
        case Edge::kTop:
          y = 0;
          break;
        case Edge::kBottom:
          y = bottom;
          break;
      }
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
  if (in.borderOption < kSlomo || in.borderOption > kDie) return 0;
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
