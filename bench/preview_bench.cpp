// The exact future of the fullest system: preset "5" (999 bodies) with the Wall
// border and Bind off, so that every body stays, paused after
// a few seconds of play, previewed 300 ticks ahead on a copy of the game, as the
// window does after every edit. Prints the best of a few rounds, in ms.
// Run: ./build/bench/velmora_preview_bench
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <sstream>

#include "app/preview.h"
#include "form/player.h"
#include "script/headless.h"
#include "state/game.h"

namespace velmora {
namespace {

double nowMs() {
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

int run() {
  MemoryTallyStorage tally;
  std::ostringstream messages;
  HeadlessGame headless(tally, messages);
  Game& g = headless.game();
  playerClick(*g.CHran);
  playerClick(*g.CDp[kPresetSunNova]);
  playerClick(*g.Och[1]);                          // "Wall": every body stays on the field
  if (g.Chbi->value() != 0) playerClick(*g.Chbi);  // no merging: all 999 stay
  playerClick(*g.Command2);
  headless.wait(3000);
  playerClick(*g.Command5);
  int live = 0;
  for (int i = 0; i <= g.world.PlanetCount; ++i) live += g.world.PlanetOff[i] == 0;

  // As the runner runs it (the game's threads), and as the window does, on threads
  // of its own beside the game's.
  for (const bool ownLanes : {false, true}) {
    double best = 1e300;
    for (int round = 0; round < 5; ++round) {
      const double t0 = nowMs();
      const World future = runAhead(futureStart(g), kDefaultPreviewTicks, {}, ownLanes);
      best = std::min(best, nowMs() - t0);
      if (future.PlanetCount != g.world.PlanetCount) return 1;
    }
    std::printf("preview of %d ticks, %d bodies (%d live)%s: %.1f ms (best of 5)\n",
                kDefaultPreviewTicks, g.world.PlanetCount + 1, live,
                ownLanes ? ", on threads of its own" : "", best);
  }
  return 0;
}

}  // namespace
}  // namespace velmora

int main() {
  return velmora::run();
}
