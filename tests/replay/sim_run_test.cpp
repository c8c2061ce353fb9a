// Whole runs of the tick: the random sequence, replay, and the trails it draws.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <cmath>
#include <cstdio>
#include <memory>

#include "sim/engine_stages.h"
#include "sim/tick.h"
#include "sim/tick_driver.h"
#include "core/sim_test_world.h"

namespace velmora {
namespace {

using testing::Body;
using testing::makeWorld;

TEST(SimRun, LoneSunMovesMeetsTheBorderAndIsDrawn) {
  auto w = makeWorld({{890, 500, -5, 0}});
  sim::TickInputs in;
  in.borderOption = 1;  // wall
  Rng rng;
  Surface surface;
  sim::tick(*w, in, rng, surface);
  EXPECT_EQ(w->PlanetX[0], 930);
  EXPECT_EQ(w->MomentumX[0], 5);
  EXPECT_EQ(rng.draws(), 2u);
  EXPECT_EQ(surface.pixel(2, 33), Surface::pack({255, 191, 128}));
}

TEST(SimRun, DrawsPerTickFollowDotsKicksMergesAndChaos) {
  // Bodies 1 and 2 are 5.5 apart (two kicks), 3 and 4 are 3 apart (a merge),
  // 5 leaves on the left under Chaos (one draw), 6 is off.
  auto w = makeWorld({{9000, 6000},
                      {3000, 3000},
                      {3005.5, 3000},
                      {6000, 3000},
                      {6003, 3000},
                      {905, 4000, -10, 0},
                      {7000, 7000, 0, 0, 0, 1}});
  sim::TickInputs in;
  in.borderOption = 4;
  Rng rng;
  Surface surface;
  sim::tick(*w, in, rng, surface);
  const uint64_t live = 6;
  EXPECT_EQ(rng.draws(), 1 + 2 * live + 2 * (2 + 54) + 54);
  EXPECT_EQ(w->PlanetOff[3], 1);

  // Next tick: one fewer dot, the kicked pair may have drifted; no border event.
  const uint64_t before = rng.draws();
  w->PlanetX[1] = 3000;  // keep the pair kicked
  w->PlanetX[2] = 3005.5;
  w->PlanetY[1] = w->PlanetY[2] = 3000;
  w->MomentumX[1] = w->MomentumX[2] = w->MomentumY[1] = w->MomentumY[2] = 0;
  sim::tick(*w, in, rng, surface);
  EXPECT_EQ(rng.draws() - before, 2 * (live - 1) + 2 * (2 + 54));
}

TEST(SimRun, EveryBorderEventAndMergeIsOneDisturbance) {
  // Body 1 leaves through the top left corner under Wall; 2 and 3 merge.
  auto w = makeWorld({{9000, 6000}, {895, 5, -10, -10}, {5000, 5000}, {5003, 5000}});
  w->ElapsedSeconds = 12;
  sim::TickInputs in;
  in.borderOption = 1;
  Rng rng;
  Surface surface;
  sim::EngineStages stages(*w, in, rng, surface);
  sim::driveTick(*w, in, stages);
  EXPECT_EQ(stages.disturbances(), 3);
  EXPECT_EQ(w->LastDisturbance, 12);
}

// A sun with planets on near-circular orbits, some close pairs, everything on.
std::unique_ptr<World> solarSystem(int planets, uint32_t seed) {
  std::vector<Body> bodies{{9000, 6000, 0, 0, 100}};
  Rng gen;
  gen.seed(seed);
  for (int i = 1; i <= planets; ++i) {
    const double radius = 1200 + 3500 * gen.next();
    const double angle = 6.283185307179586 * gen.next();
    // Speed of a circular orbit under g = 10000 * 100 / r^2.
    const double speed = std::sqrt(10000 * 100 / radius);
    bodies.push_back({9000 + radius * std::cos(angle), 6000 + radius * std::sin(angle),
                      -speed * std::sin(angle), speed * std::cos(angle),
                      0.001 + 0.01 * gen.next()});
    if (i % 5 == 0) {  // a companion 5.5 away: kicked until they part
      Body companion = bodies[bodies.size() - 2];
      companion.x += 5.5;
      bodies.back() = companion;
    }
  }
  auto w = makeWorld(bodies);
  for (int i = 1; i <= planets; ++i) {
    w->PlanetRed[i] = static_cast<float>(50 + std::floor(gen.next() * 200));
    w->PlanetGreen[i] = static_cast<float>(50 + std::floor(gen.next() * 200));
    w->PlanetBlue[i] = static_cast<float>(50 + std::floor(gen.next() * 200));
  }
  return w;
}

uint64_t hashOf(const World& w, const Surface& s, const Rng& rng) {
  uint64_t h = testing::fnv1a(w.PlanetX.data(), sizeof w.PlanetX);
  h = testing::fnv1a(w.PlanetY.data(), sizeof w.PlanetY, h);
  h = testing::fnv1a(w.MomentumX.data(), sizeof w.MomentumX, h);
  h = testing::fnv1a(w.MomentumY.data(), sizeof w.MomentumY, h);
  h = testing::fnv1a(w.PlanetGravity.data(), sizeof w.PlanetGravity, h);
  h = testing::fnv1a(w.PlanetOff.data(), sizeof w.PlanetOff, h);
  h = testing::fnv1a(s.pixels().data(), s.pixels().size() * sizeof(uint32_t), h);
  const uint64_t draws = rng.draws();
  return testing::fnv1a(&draws, sizeof draws, h);
}

struct SystemRun {
  explicit SystemRun(uint32_t seed) : world(solarSystem(40, 2024)) {
    rng.seed(seed);
    in.borderOption = 4;  // Chaos: border draws too
    in.sunFixed = true;
    world->ElapsedSeconds = 1;
  }
  // Runs n ticks; counts those that drew more than the dots of the bodies on.
  void ticks(int n) {
    for (int t = 0; t < n; ++t) {
      uint64_t on = 0;
      for (int i = 0; i <= world->PlanetCount; ++i) on += world->PlanetOff[i] == 0;
      const uint64_t before = rng.draws();
      sim::tick(*world, in, rng, surface);
      eventfulTicks += rng.draws() - before > 2 * on;
    }
  }
  int eventfulTicks = 0;
  std::unique_ptr<World> world;
  sim::TickInputs in;
  Rng rng;
  Surface surface;
};

TEST(SimRun, FrozenSeedReplaysTheSameTablesAndSurface) {
  SystemRun a(1234);
  SystemRun b(1234);
  a.ticks(400);
  b.ticks(400);
  EXPECT_EQ(a.world->PlanetX, b.world->PlanetX);
  EXPECT_EQ(a.world->MomentumY, b.world->MomentumY);
  EXPECT_EQ(a.world->PlanetOff, b.world->PlanetOff);
  EXPECT_EQ(a.surface.pixels(), b.surface.pixels());
  EXPECT_EQ(a.rng.draws(), b.rng.draws());

  // The run really exercises merges, kicks or border draws, not only dots.
  EXPECT_GE(a.eventfulTicks, 5);
  int off = 0;
  for (int i = 0; i <= 40; ++i) off += a.world->PlanetOff[i];
  EXPECT_GT(off, 0);

  // Golden value: any change to the order of draws or to the arithmetic shows here.
  EXPECT_EQ(hashOf(*a.world, a.surface, a.rng), 0x96b627083354d72ull);
}

// The other exponents go through the general power path (and its AVX2 copies):
// each replays its own golden run. Below 1 the pull grows with distance.
TEST(SimRun, OtherExponentsReplayTheirGoldenRuns) {
  const struct {
    double exponent;
    uint64_t hash;
  } runs[] = {
      {1.7, 0xc470f1a67ef1c3b2ull}, {0.4, 0xf9c8c2c9bb750d07ull}, {2.6, 0x78c443352e3150cbull}};
  for (const auto& r : runs) {
    SystemRun run(1234);
    run.world->GravityExponent = r.exponent;
    run.ticks(400);
    EXPECT_GE(run.eventfulTicks, 1) << r.exponent;
    EXPECT_EQ(hashOf(*run.world, run.surface, run.rng), r.hash)
        << r.exponent << ": " << std::hex << hashOf(*run.world, run.surface, run.rng);
  }
}

TEST(SimRun, OrbitsDrawTrails) {
  SystemRun run(7);
  run.in.borderOption = 1;  // wall
  run.ticks(1500);
  const Surface& s = run.surface;
  int lit = 0;
  for (uint32_t p : s.pixels()) lit += p != Surface::pack({0, 0, 0});
  // 41 bodies plotted 1500 times leave far more lit pixels than bodies.
  EXPECT_GT(lit, 41 * 20);
  EXPECT_EQ(s.pixel((9000 - 900) / 15, 6000 / 15), Surface::pack({255, 191, 128}));

  // For a look: a plain PPM in the temporary directory.
  const std::string path = (std::filesystem::temp_directory_path() / "sim_trails.ppm").string();
  if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fprintf(f, "P6\n%d %d\n255\n", s.width(), s.height());
    for (uint32_t p : s.pixels()) {
      const unsigned char rgb[3] = {static_cast<unsigned char>(p >> 16),
                                    static_cast<unsigned char>(p >> 8),
                                    static_cast<unsigned char>(p)};
      std::fwrite(rgb, 1, 3, f);
    }
    std::fclose(f);
  }
}

}  // namespace
}  // namespace velmora
