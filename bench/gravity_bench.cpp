// Times the gravity pass of the engine against the literal reference and against the
// floor of its pairs' arithmetic, and the whole game headless.
// Run: ./build/bench/velmora_bench [--floor]  (--floor: the floor's section alone)
#include <sys/resource.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <thread>

#include "form/clock.h"
#include "form/player.h"
#include "form/scheduler.h"
#include "pair_floor.h"
#include "sim/lane_pool.h"
#include "sim/lane_width.h"
#include "sim/pull_rows.h"
#include "sim/tick.h"
#include "state/game.h"
#include "state/tally_storage.h"
#include "testworlds/reference_gravity.h"

namespace velmora {
namespace {

class QuietHost final : public Host {
 public:
  bool openUrl(const std::string&) override { return false; }
  void messageBox(const std::string&, const std::string&) override {}
  void endProgram() override {}
};

struct HeadlessGame {
  HeadlessGame() { g.load(); }
  VirtualClock clock;
  QuietHost host;
  MemoryTallyStorage tally;
  Game g{clock, host, tally};
};

double nowMs() {
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

// Best of `reps` runs of `once`, in ms: the least disturbed by other processes.
double bestMs(int reps, const std::function<void()>& once) {
  double best = 1e300;
  for (int k = 0; k < reps; ++k) {
    const double t0 = nowMs();
    once();
    best = std::min(best, nowMs() - t0);
  }
  return best;
}

std::unique_ptr<World> randomWorld(int count = kMaxBodies - 1) {
  auto w = std::make_unique<World>();
  Rng gen;
  gen.seed(17);
  w->PlanetCount = static_cast<int16_t>(count);
  w->PlanetRadius = 6;
  w->BondRange = 5;
  w->SunRadius = 200;
  w->ImpactJitter = 1;
  w->ImpactJitterSpan = 3;
  for (int i = 0; i < kMaxBodies; ++i) {
    w->PlanetX[i] = 900 + 16995.0 * gen.next();
    w->PlanetY[i] = 13020.0 * gen.next();
    w->PlanetGravity[i] = i == 0 ? 100 : 0.001 + 0.01 * gen.next();
    w->PlanetRed[i] = w->PlanetGreen[i] = w->PlanetBlue[i] = 200;
  }
  return w;
}

// A crowd as the Wall border leaves it: most bodies lined up on the four edges, on
// one X or one Y exactly, so their rows have many level or straight partners.
std::unique_ptr<World> wallWorld() {
  auto w = randomWorld();
  Rng gen;
  gen.seed(23);
  for (int i = 1; i < kMaxBodies; ++i) {
    const double pick = gen.next();
    if (pick < 0.3) w->PlanetX[i] = 900;
    if (pick >= 0.3 && pick < 0.5) w->PlanetX[i] = 17895;
    if (pick >= 0.5 && pick < 0.7) w->PlanetY[i] = 0;
    if (pick >= 0.7 && pick < 0.8) w->PlanetY[i] = 13020;
  }
  return w;
}

// One gravity tick each way from the same start: the motion step, then the pass.
void compare(const char* name, const World& start, double exponent) {
  auto w = std::make_unique<World>();
  Surface surface;
  Rng rng;
  auto magnitude = std::make_unique<Table<double>>();
  sim::TickInputs in;
  in.bind = false;
  const auto reset = [&] {
    *w = start;
    w->GravityExponent = exponent;
    rng.seed(5);
  };
  const double ref = bestMs(5, [&] {
    reset();
    for (int i = w->PlanetCount; i >= 0; --i) {
      if (w->PlanetOff[i] == 0) {
        w->PlanetX[i] = w->PlanetX[i] + w->MomentumX[i];
        w->PlanetY[i] = w->PlanetY[i] + w->MomentumY[i];
      }
    }
    reference::gravityPass(*w, false, rng, surface, *magnitude);
  });
  const double engine = bestMs(200, [&] {
    reset();
    sim::tick(*w, in, rng, surface);
  });
  int live = 0;
  for (int i = 0; i <= start.PlanetCount; ++i) live += start.PlanetOff[i] != 1;
  const double pairs = static_cast<double>(live) * (live - 1);
  std::printf("%-14s %4d %8.2f %10.3f %10.3f %8.1f %10.2f\n", name, live, exponent, ref, engine,
              ref / engine, engine * 1e6 / pairs);
}

// Best ms of one engine tick of `start`.
double tickMs(const World& start, double exponent, int reps) {
  auto w = std::make_unique<World>();
  Surface surface;
  Rng rng;
  sim::TickInputs in;
  in.bind = false;
  return bestMs(reps, [&] {
    *w = start;
    w->GravityExponent = exponent;
    rng.seed(5);
    sim::tick(*w, in, rng, surface);
  });
}

// The engine's tick on 1, 2, ... threads (up to the processors there are), and
// where a second thread starts to pay.
void threads() {
  sim::LanePool& pool = sim::LanePool::shared();
  const int saved = pool.threads();
  const int most = std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1,
                              sim::LanePool::kMaxThreads);
  std::printf("\n%-14s %4s %8s %8s %10s %8s %10s %8s\n", "world", "N", "exponent", "threads",
              "engine ms", "speed-up", "lanes ms", "speed-up");
  const auto random = randomWorld();
  const auto wall = wallWorld();
  auto rows = std::make_unique<sim::PullRows>();
  for (const auto& [name, world] : {std::pair{"random", random.get()}, {"wall", wall.get()}}) {
    for (double exponent : {2.0, 1.7}) {
      double one = 0;
      double lanesOne = 0;
      for (int k = 1; k <= std::max(most, 2); ++k) {
        pool.resize(k);
        const double ms = tickMs(*world, exponent, 200);
        auto w = std::make_unique<World>(*world);
        w->GravityExponent = exponent;
        const double lanes = bestMs(200, [&] { sim::computePullRows(*w, w->PlanetCount, *rows); });
        if (k == 1) {
          one = ms;
          lanesOne = lanes;
        }
        std::printf("%-14s %4d %8.2f %8d %10.3f %8.2f %10.3f %8.2f\n", name, kMaxBodies, exponent,
                    k, ms, one / ms, lanes, lanesOne / lanes);
      }
    }
  }
  std::printf("\nbreak-even, exponent 2, two threads whatever the rows (min rows 1):\n");
  std::printf("%4s %12s %12s %8s\n", "N", "1 thread ms", "2 threads ms", "ratio");
  for (int n : {32, 64, 96, 128, 160, 192, 256, 384, 512}) {
    const auto w = randomWorld(n - 1);
    pool.resize(1);
    const double one = tickMs(*w, 2, 2000);
    pool.resize(2, 1);
    const double two = tickMs(*w, 2, 2000);
    std::printf("%4d %12.4f %12.4f %8.2f\n", n, one, two, one / two);
  }
  pool.resize(saved);
}

// The kernel alone, one thread, with the plain sweep first (and the rows it leaves
// for level and straight pairs swept again) or the sweep that takes them at once.
void sweepOrders() {
  sim::LanePool& pool = sim::LanePool::shared();
  const int saved = pool.threads();
  pool.resize(1);
  std::printf("\n%-14s %4s %8s %12s %12s %8s\n", "world", "N", "exponent", "plain 1st ms",
              "axial 1st ms", "ratio");
  const auto random = randomWorld();
  const auto wall = wallWorld();
  auto rows = std::make_unique<sim::PullRows>();
  for (const auto& [name, world] : {std::pair{"random", random.get()}, {"wall", wall.get()}}) {
    for (double exponent : {2.0, 1.7}) {
      auto w = std::make_unique<World>(*world);
      w->GravityExponent = exponent;
      const auto ms = [&](sim::AxialSweep order) {
        return bestMs(200, [&] { sim::computePullRows(*w, w->PlanetCount, *rows, order); });
      };
      const double plain = ms(sim::AxialSweep::kSecond);
      const double axial = ms(sim::AxialSweep::kFirst);
      std::printf("%-14s %4d %8.2f %12.3f %12.3f %8.2f\n", name, kMaxBodies, exponent, plain, axial,
                  plain / axial);
    }
  }
  pool.resize(saved);
}

// The kernel against the bare arithmetic of its pairs, in each vector width this
// processor runs, on 1 and 2 threads: turn about in one process, best of `rounds`
// each, in ns per ordered pair of live bodies. Then one line for each exponent and
// thread count: the kernel in the chosen width (VELMORA_LANES, else the widest)
// against the floor in the widest.
void pairFloor(int rounds) {
  sim::LanePool& pool = sim::LanePool::shared();
  const int savedThreads = pool.threads();
  const sim::LaneWidth chosen = sim::laneWidth();
  const sim::LaneWidth widest = sim::widestLaneWidth();
  const auto random = randomWorld();
  auto w = std::make_unique<World>(*random);
  auto rows = std::make_unique<sim::PullRows>();
  auto floorBodies = std::make_unique<FloorBodies>();
  auto sx = std::make_unique<Table<double>>();
  auto sy = std::make_unique<Table<double>>();
  gatherFloorBodies(*w, *floorBodies);
  const double live = floorBodies->count;
  const double pairs = live * (live - 1);
  std::vector<double> table;
  uint64_t consumed = 0;  // the floors' checksums, printed: no floor's work may be dropped
  struct Line {
    double exponent;
    int threads;
    double kernel, floor;
  };
  std::vector<Line> lines;
  std::printf("\n%-9s %8s %8s %10s %10s %8s %14s   (ns per pair, N = %d)\n", "lanes", "exponent",
              "threads", "kernel", "floor", "ratio", "shared floor", kMaxBodies);
  for (double exponent : {2.0, 1.7}) {
    w->GravityExponent = exponent;
    for (int threads : {1, 2}) {
      pool.resize(threads);
      for (int k = 0; k <= static_cast<int>(widest); ++k) {
        const auto width = static_cast<sim::LaneWidth>(k);
        sim::setLaneWidth(width);
        double kernel = 1e300;
        double floor = 1e300;
        double shared = 1e300;
        for (int r = 0; r < rounds; ++r) {
          shared = std::min(shared, bestMs(1, [&] {
                              consumed +=
                                  sweepSharedFloor(*floorBodies, exponent, width, table, *sx, *sy);
                            }));
          kernel =
              std::min(kernel, bestMs(1, [&] { sim::computePullRows(*w, w->PlanetCount, *rows); }));
          floor = std::min(floor, bestMs(1, [&] {
                             consumed += sweepFloor(*floorBodies, exponent, width, *sx, *sy);
                           }));
        }
        kernel *= 1e6 / pairs;
        floor *= 1e6 / (live * live);
        shared *= 1e6 / (live * live);
        std::printf("%-9s %8.2f %8d %10.3f %10.3f %8.2f %14.3f\n",
                    std::string(sim::nameOf(width)).c_str(), exponent, threads, kernel, floor,
                    kernel / floor, shared);
        if (width == chosen) lines.push_back({exponent, threads, kernel, 0});
        if (width == widest) lines.back().floor = floor;
      }
    }
  }
  sim::setLaneWidth(chosen);
  pool.resize(savedThreads);
  for (const Line& l : lines) {
    std::printf("pair ns: exponent %g threads %d kernel %.3f floor %.3f ratio %.2f (%s)\n",
                l.exponent, l.threads, l.kernel, l.floor, l.kernel / l.floor,
                std::string(sim::nameOf(widest)).c_str());
  }
  std::printf("(the floors' checksum: %016llx)\n", static_cast<unsigned long long>(consumed));
}

void run() {
  std::printf("%-14s %4s %8s %10s %10s %8s %10s\n", "world", "N", "exponent", "literal ms",
              "engine ms", "ratio", "ns/pair");
  const auto random = randomWorld();
  HeadlessGame preset;
  playerClick(*preset.g.CDp[kPresetSunNova]);
  playerClick(*preset.g.Command2);
  const auto wall = wallWorld();
  for (double exponent : {2.0, 1.7}) {
    compare("random", *random, exponent);
    compare("preset 5", preset.g.world, exponent);
    compare("wall", *wall, exponent);
  }

  // The whole game, timers and all, as the window would run it.
  HeadlessGame game;
  playerClick(*game.g.CDp[kPresetSunNova]);
  playerClick(*game.g.Command2);
  constexpr int kTicks = 2000;
  // The bodies merge fast, but the tables keep their 1000 rows: the stretches
  // show what a tick costs as the live bodies thin out.
  constexpr std::array<int, 3> kStretchEnds{20, 100, kTicks};
  std::array<double, 3> stretchMs{};
  std::array<int, 3> liveAfter{};
  const auto liveBodies = [&game] {
    int live = 0;
    for (int i = 0; i <= game.g.world.PlanetCount; ++i) live += game.g.world.PlanetOff[i] == 0;
    return live;
  };
  const int liveAtStart = liveBodies();
  for (size_t k = 0, t = 0; k < kStretchEnds.size(); ++k) {
    const double start = nowMs();
    for (; t < static_cast<size_t>(kStretchEnds[k]); ++t) advanceTimers(game.g.fs7, game.clock, 15);
    stretchMs[k] = nowMs() - start;
    liveAfter[k] = liveBodies();
  }
  const double seconds = (stretchMs[0] + stretchMs[1] + stretchMs[2]) / 1000;
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf(
      "\nwhole game, preset 5, %d ticks: %.1f ticks/s (%.2f ms per tick), %d bodies "
      "left, peak memory %ld KiB\n",
      kTicks, kTicks / seconds, seconds * 1000 / kTicks, liveAfter.back(), usage.ru_maxrss);
  for (size_t k = 0; k < kStretchEnds.size(); ++k) {
    const int first = k == 0 ? 1 : kStretchEnds[k - 1] + 1;
    const int ticks = kStretchEnds[k] - first + 1;
    std::printf("  ticks %4d to %4d: %.4f ms per tick, live bodies %d to %d\n", first,
                kStretchEnds[k], stretchMs[k] / ticks, k == 0 ? liveAtStart : liveAfter[k - 1],
                liveAfter[k]);
  }
  pairFloor(100);
  sweepOrders();
  threads();
}

}  // namespace
}  // namespace velmora

int main(int argc, char** argv) {
  if (argc > 1 && std::string_view(argv[1]) == "--floor") {
    velmora::pairFloor(200);
    return 0;
  }
  velmora::run();
  return 0;
}
