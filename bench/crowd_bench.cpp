// The window benchmark's crowd without a window: preset "5" at exponent 2 (or
// EXPONENT), Bind off, the Wall border, played headless at x8. Every 5 s of
// play the world is taken as it stands and timed: the gravity kernel in both sweep
// orders and one whole tick, best of the rounds, on 1 and 2 threads (and more where
// the machine has them). The full rate at x8 leaves 1.875 ms a tick (8 ticks a
// 15 ms period). "rows again": the rows the plain sweep left that a second sweep or
// the settling took; "redo rows": those left to the game's thread.
// Run: ./build/bench/velmora_crowd_bench [EXPONENT]
#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

#include "app/engine_events.h"
#include "form/player.h"
#include "script/headless.h"
#include "sim/border.h"
#include "sim/lane_pool.h"
#include "sim/pull_rows.h"
#include "sim/tick.h"
#include "state/game.h"

namespace velmora {
namespace {

double nowMs() {
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

double bestMs(int rounds, const std::function<void()>& once) {
  double best = 1e300;
  for (int k = 0; k < rounds; ++k) {
    const double t0 = nowMs();
    once();
    best = std::min(best, nowMs() - t0);
  }
  return best;
}

int run(const std::string& exponent) {
  MemoryTallyStorage tally;
  std::ostringstream messages;
  HeadlessGame headless(tally, messages);
  Game& g = headless.game();
  playerClick(*g.CDp[kPresetSunNova]);
  playerType(*g.TXg[kTxgExponent], exponent);
  playerLeave(*g.TXg[kTxgExponent]);
  if (g.Chbi->value() != 0) playerClick(*g.Chbi);
  playerClick(*g.Och[kWall]);
  g.speed.setLevel(3);  // x8
  playerClick(*g.Command2);

  sim::LanePool& pool = sim::LanePool::shared();
  const int saved = pool.threads();
  const int most =
      std::max(2, std::min<int>(sim::LanePool::kMaxThreads,
                                static_cast<int>(std::thread::hardware_concurrency())));
  sim::TickInputs in;
  in.bind = false;
  in.borderOption = kWall;
  in.W = g.W();
  in.H = g.H();
  auto rows = std::make_unique<sim::PullRows>();
  auto w = std::make_unique<World>();
  Surface surface = g.surface;
  Rng rng;
  std::printf("crowd at exponent %s, Bind off, Wall, x8; best ms of 50 rounds\n", exponent.c_str());
  std::printf("%6s %6s %8s %12s %12s %10s %10s %10s\n", "play s", "live", "threads", "plain 1st",
              "axial 1st", "tick", "rows again", "redo rows");
  for (int second = 5; second <= 25; second += 5) {
    pool.resize(saved);
    headless.wait(5000);
    const World& now = g.world;
    int live = 0;
    for (int i = 0; i <= now.PlanetCount; ++i) live += now.PlanetOff[i] != 1;
    for (int k = 1; k <= most; ++k) {
      pool.resize(k);
      const auto kernel = [&](sim::AxialSweep order) {
        return bestMs(50, [&] { sim::computePullRows(now, now.PlanetCount, *rows, order); });
      };
      const double plain = kernel(sim::AxialSweep::kSecond);
      const int axialRows = rows->settledRows;
      const double axial = kernel(sim::AxialSweep::kFirst);
      int redo = 0;
      for (int i = 0; i <= now.PlanetCount; ++i) redo += rows->redo[i] != 0;
      const double tick = bestMs(50, [&] {
        *w = now;
        rng.seed(5);
        sim::tick(*w, in, rng, surface);
      });
      std::printf("%6d %6d %8d %12.3f %12.3f %10.3f %10d %10d\n", second, live, k, plain, axial,
                  tick, axialRows, redo);
    }
  }
  pool.resize(saved);
  return 0;
}

}  // namespace
}  // namespace velmora

int main(int argc, char** argv) {
  const std::string exponent = argc > 1 ? argv[1] : "2";
  double value = 0;
  const char* last = exponent.data() + exponent.size();
  const auto [end, error] = std::from_chars(exponent.data(), last, value);
  if (argc > 2 || error != std::errc() || end != last) {
    std::fprintf(stderr, "usage: velmora_crowd_bench [EXPONENT]  (a number, 2 by default)\n");
    return 2;
  }
  return velmora::run(exponent);
}
