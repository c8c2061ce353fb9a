// The exact future of a paused game: its next ticks run on a copy of the world and
// of the random generator, with a scratch picture, so the live game draws nothing
// and changes nothing. The tick is deterministic, so the copy shows what resuming
// will do, bit for bit, as long as nothing is edited in between.
#pragma once

#include <functional>

#include "world/rng.h"
#include "world/world.h"

namespace velmora {

class Game;

inline constexpr int kDefaultPreviewTicks = 300;
inline constexpr int kMostPreviewTicks = 100000;

// Everything a run ahead needs, taken from the game in one go; it holds no
// reference to the game, so the run may go on another thread.
struct FutureStart {
  World world;
  Rng rng;
  double exponent = 0;    // TXg(2), read by every tick
  bool sunFixed = false;  // the tick's readings of the controls
  int borderOption = -1;
  bool bind = true;
  int spin = 0;
  int W = 0;
  int H = 0;
};

FutureStart futureStart(const Game& g);

// The world after `ticks` ticks from `start`; `afterTick` sees it after each one
// and stops the run there by answering false. `ownLanes` runs it on threads of its
// own, as many as the game's, for a run beside the game's: the game's keep to its
// ticks.
World runAhead(FutureStart start, int ticks,
               const std::function<bool(const World&)>& afterTick = {}, bool ownLanes = false);

}  // namespace velmora
