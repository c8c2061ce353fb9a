// The timeline at 999 bodies: what keeping it costs a tick, its memory after a
// stretch of virtual play, and the time of a seek near the latest moment and far
// from it. The ticks are run as the simulation timer runs them, back to back, on
// one thread; the costs are processor time, the seeks wall-clock time.
// Run: ./build/bench/velmora_timeline_bench [MINUTES of virtual play, default 60 [crowd]]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/engine_events.h"
#include "app/timeline.h"
#include "form/player.h"
#include "script/headless.h"
#include "sim/lane_pool.h"
#include "state/game.h"

namespace velmora {
namespace {

double nowMs() {
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

// This thread's processor time: the machine's other work does not count.
double cpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

struct Spread {
  double best;
  double median;
  double worst;
};

Spread spread(std::vector<double> ms) {
  std::sort(ms.begin(), ms.end());
  return {ms.front(), ms[ms.size() / 2], ms.back()};
}

// A system of 999 bodies; a crowd keeps them all (Bind off, bodies wrap at the
// borders), else the default panel lets them merge and leave.
void start(Game& g, bool crowd) {
  playerClick(*g.CHran);
  playerType(*g.TXran, "999");
  playerLeave(*g.TXran);
  playerType(*g.TXw[0], "999");
  playerLeave(*g.TXw[0]);
  if (crowd) {
    playerClick(*g.Chbi);
    playerClick(*g.Och[2]);  // wrap
  }
  playerClick(*g.Command2);
}

int run(double minutes, bool crowd) {
  MemoryTallyStorage tally;
  std::ostringstream messages;
  // Two games play the same run; one keeps its timeline. Played in turns of a few
  // hundred ticks, the difference of their processor times is the timeline's cost.
  HeadlessGame headless(tally, messages), bare(tally, messages);
  Game& g = headless.game();
  Game& plain = bare.game();
  Timeline& timeline = *g.timeline;
  start(g, crowd);
  start(plain, crowd);
  if (g.world.PlanetCount != 999) {
    std::fprintf(stderr, "the system has %d bodies, not 999\n", g.world.PlanetCount);
    return 1;
  }

  // One thread: its processor time is the whole of the tick's.
  sim::LanePool::shared().resize(1);
  const long long ticks = static_cast<long long>(minutes * 60000 / g.Ti->interval());
  constexpr long long kTurn = 250;
  double tickMs = 0, keptMs = 0;
  size_t mostBytes = 0;
  for (long long done = 0; done < ticks;) {
    const long long n = std::min(kTurn, ticks - done);
    double t0 = cpuMs();
    for (long long i = 0; i < n; ++i) Ti_Timer(plain);
    tickMs += cpuMs() - t0;
    t0 = cpuMs();
    for (long long i = 0; i < n; ++i) {
      timeline.beforeTick(g);
      Ti_Timer(g);
      timeline.afterTick(g);
    }
    keptMs += cpuMs() - t0;
    mostBytes = std::max(mostBytes, timeline.bytes());
    done += n;
    if (done % 20000 == 0) {
      std::fprintf(stderr, "%lld ticks, %zu keyframes, %.1f MB, %d live\n", done,
                   timeline.keyframeCount(), timeline.bytes() / 1048576.0,
                   g.world.PlanetCount + 1 -
                       static_cast<int>(std::count(
                           g.world.PlanetOff.begin(),
                           g.world.PlanetOff.begin() + g.world.PlanetCount + 1, int16_t{1})));
    }
  }
  const double keepMs = keptMs - tickMs;
  playerClick(*g.Command5);

  // A keyframe's two parts, apart.
  double captureMs = 0, packMs = 0;
  size_t packedBytes = 0;
  for (int i = 0; i < 10; ++i) {
    const double t0 = cpuMs();
    const SystemSnapshot s = captureSystem(g);
    const double t1 = cpuMs();
    std::vector<uint32_t> room;
    const PackedPicture p = packPicture(s.pixels, room);
    captureMs += t1 - t0;
    packMs += cpuMs() - t1;
    packedBytes = p.bytes();
  }

  std::mt19937 pick(7);
  const long long latest = timeline.tick();
  auto seeks = [&](long long from, int n) {
    std::vector<double> ms;
    for (int i = 0; i < n; ++i) {
      const long long t = std::uniform_int_distribution<long long>(from, latest)(pick);
      const double t0 = nowMs();
      if (auto why = timeline.seek(g, t)) {
        std::fprintf(stderr, "seek %lld: %s\n", t, why->c_str());
        std::exit(1);
      }
      ms.push_back(nowMs() - t0);
    }
    return spread(ms);
  };
  const Spread near = seeks(std::max(0LL, latest - Timeline::kRecentTicks), 20);
  const Spread far = seeks(0, 20);

  std::printf("999 bodies%s, picture %d x %d pixels, %.1f minutes of virtual play (%lld ticks)\n",
              crowd ? " kept (Bind off, wrap)" : "", g.surface.width(), g.surface.height(), minutes,
              ticks);
  std::printf(
      "processor time, one thread: tick %.3f ms; keeping the timeline: %.4f ms a tick, %.2f%% "
      "(goal <= 5%%)\n",
      tickMs / ticks, keepMs / ticks, 100 * keepMs / tickMs);
  std::printf("keyframe: capture %.2f ms, packing the picture %.2f ms, %.2f MB packed of %.2f\n",
              captureMs / 10, packMs / 10, packedBytes / 1048576.0,
              g.surface.pixels().size() * 4 / 1048576.0);
  std::printf("memory: %.1f MB in %zu keyframes at the end, at most %.1f MB (budget %zu MB)\n",
              timeline.bytes() / 1048576.0, timeline.keyframeCount(), mostBytes / 1048576.0,
              Timeline::kDefaultBudget >> 20);
  std::printf(
      "seek within the last minute: best %.1f ms, median %.1f ms, worst %.1f ms"
      " (goal < 100)\n",
      near.best, near.median, near.worst);
  std::printf("seek anywhere: best %.1f ms, median %.1f ms, worst %.1f ms (goal < 2000)\n",
              far.best, far.median, far.worst);
  return 0;
}

}  // namespace
}  // namespace velmora

int main(int argc, char** argv) {
  const double minutes = argc > 1 ? std::atof(argv[1]) : 60;
  const bool crowd = argc > 2 && std::string(argv[2]) == "crowd";
  if (!(minutes > 0) || (argc > 2 && !crowd)) {
    std::fprintf(stderr, "usage: velmora_timeline_bench [MINUTES [crowd]]\n");
    return 2;
  }
  return velmora::run(minutes, crowd);
}
