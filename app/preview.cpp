#include "app/preview.h"

#include <optional>
#include <utility>

#include "app/own_lanes.h"
#include "app/tick_inputs.h"
#include "form/surface.h"
#include "sim/tick.h"
#include "state/game.h"

namespace velmora {

FutureStart futureStart(const Game& g) {
  const sim::TickInputs in = tickInputsOf(g);
  FutureStart s{g.world, g.rng, tickExponent(g), in.sunFixed, in.borderOption, in.bind, in.spin,
                in.W,    in.H};
  return s;
}

World runAhead(FutureStart start, int ticks, const std::function<bool(const World&)>& afterTick,
               bool ownLanes) {
  std::optional<OwnLanes> lanes;
  if (ownLanes) lanes.emplace();
  sim::TickInputs in;
  in.sunFixed = start.sunFixed;
  in.borderOption = start.borderOption;
  in.bind = start.bind;
  in.spin = start.spin;
  in.W = start.W;
  in.H = start.H;
  World& w = start.world;
  // The dots land on a picture nobody sees; the tick's draws do not depend on it.
  Surface scratch(start.W, start.H);
  for (int t = 0; t < ticks; ++t) {
    w.GravityExponent = start.exponent;
    sim::tick(w, in, start.rng, scratch);
    if (afterTick && !afterTick(w)) break;
  }
  return std::move(w);
}

}  // namespace velmora
