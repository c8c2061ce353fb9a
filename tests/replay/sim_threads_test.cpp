// The gravity pass split over threads gives the bits of one thread: tables, dots,
// sparks and draws, at every law, for any number of threads and any split.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "sim/lane_pool.h"
#include "sim/tick.h"
#include "core/sim_test_world.h"

namespace velmora {
namespace {

// Close pairs, kicks, merges, level and straight pairs, bodies off, Chaos at the
// border: every kind of row the pass can meet.
std::unique_ptr<World> crowd(double exponent) {
  Rng gen;
  gen.seed(99);
  auto w = testing::makeWorld({{}});
  w->PlanetCount = 700;
  w->GravityExponent = exponent;
  for (int i = 0; i <= w->PlanetCount; ++i) {
    double x = 1000 + 16000 * gen.next();
    double y = 12000 * gen.next();
    const double pick = gen.next();
    if (i > 0 && pick < 0.03) y = w->PlanetY[i - 1];
    if (i > 0 && pick > 0.97) x = w->PlanetX[i - 1];
    if (i > 0 && pick > 0.4 && pick < 0.5) {
      x = w->PlanetX[i - 1] + 10 * gen.next() - 5;
      y = w->PlanetY[i - 1] + 10 * gen.next() - 5;
    }
    w->PlanetX[i] = x;
    w->PlanetY[i] = y;
    w->MomentumX[i] = 8 * gen.next() - 4;
    w->MomentumY[i] = 8 * gen.next() - 4;
    w->PlanetGravity[i] = i == 0 ? 200 : 0.05 * gen.next();
    w->PlanetOff[i] = gen.next() < 0.04 ? 1 : 0;
    w->PlanetRed[i] = static_cast<float>(i % 256);
  }
  return w;
}

struct CrowdRun {
  std::unique_ptr<World> world;
  Rng rng;
  Surface surface;
};

CrowdRun ticks(double exponent, int n) {
  CrowdRun r{crowd(exponent), {}, {}};
  r.rng.seed(7);
  sim::TickInputs in;
  in.borderOption = 4;
  for (int t = 0; t < n; ++t) sim::tick(*r.world, in, r.rng, r.surface);
  return r;
}

// VELMORA_THREADS takes any count from 1 to the most the pool runs; any other text
// leaves the build's default (one per processor unless the build says otherwise).
TEST(ThreadCount, TheEnvironmentAsksForOneToTheMost) {
  const char* set = std::getenv("VELMORA_THREADS");
  const std::optional<std::string> before = set ? std::optional<std::string>(set) : std::nullopt;
  ::unsetenv("VELMORA_THREADS");
  const int byDefault = sim::requestedThreads();
  for (int asked = 1; asked <= sim::LanePool::kMaxThreads; ++asked) {
    ::setenv("VELMORA_THREADS", std::to_string(asked).c_str(), 1);
    EXPECT_EQ(sim::requestedThreads(), asked);
  }
  for (const std::string& refused : {std::to_string(sim::LanePool::kMaxThreads + 1),
                                     std::string("-1"), std::string("2x"), std::string("")}) {
    ::setenv("VELMORA_THREADS", refused.c_str(), 1);
    EXPECT_EQ(sim::requestedThreads(), byDefault) << '"' << refused << '"';
  }
  if (before) {
    ::setenv("VELMORA_THREADS", before->c_str(), 1);
  } else {
    ::unsetenv("VELMORA_THREADS");
  }
}

class SimThreads : public ::testing::Test {
 protected:
  void TearDown() override { pool.resize(threads, minRows, chunkRows); }
  sim::LanePool& pool = sim::LanePool::shared();
  const int threads = pool.threads();
  const int minRows = pool.minRowsPerThread();
  const int chunkRows = pool.chunkRows();
};

TEST_F(SimThreads, EveryThreadCountGivesTheBitsOfOne) {
  for (double exponent : {2.0, 1.0, 1.7, 0.4, 2.6}) {
    pool.resize(1);
    const CrowdRun one = ticks(exponent, 6);
    for (int k : {2, 3, 4, 8}) {
      SCOPED_TRACE(::testing::Message() << "exponent " << exponent << ", " << k << " threads");
      pool.resize(k, 1, 8 * k);  // chunks of 16 to 64 rows
      ASSERT_TRUE(pool.worthSharing(one.world->PlanetCount + 1));
      const CrowdRun many = ticks(exponent, 6);
      EXPECT_EQ(many.world->PlanetX, one.world->PlanetX);
      EXPECT_EQ(many.world->PlanetY, one.world->PlanetY);
      EXPECT_EQ(many.world->MomentumX, one.world->MomentumX);
      EXPECT_EQ(many.world->MomentumY, one.world->MomentumY);
      EXPECT_EQ(many.world->PlanetGravity, one.world->PlanetGravity);
      EXPECT_EQ(many.world->PlanetOff, one.world->PlanetOff);
      EXPECT_EQ(many.surface.pixels(), one.surface.pixels());
      EXPECT_EQ(many.rng.draws(), one.rng.draws());
    }
  }
}

TEST_F(SimThreads, FewRowsStayOnOneThread) {
  pool.resize(4);
  EXPECT_FALSE(pool.worthSharing(50));
  EXPECT_FALSE(pool.worthSharing(sim::LanePool::kDefaultMinRowsPerThread * 2 - 1));
  EXPECT_TRUE(pool.worthSharing(sim::LanePool::kDefaultMinRowsPerThread * 2));
  pool.resize(1);
  EXPECT_FALSE(pool.worthSharing(1000));
}

TEST_F(SimThreads, EveryChunkRunsOnceAndTheCallerWaitsForAll) {
  for (int count : {2, 3, 8}) {
    pool.resize(count, 1);
    for (int chunks : {1, 2, 3, 8, 40}) {
      std::vector<int> runs(chunks, 0);
      for (int round = 0; round < 50; ++round) {
        pool.run(chunks, true, [&](int c) { ++runs[c]; });
      }
      EXPECT_EQ(runs, std::vector<int>(chunks, 50)) << threads << " threads, " << chunks;
    }
  }
}

// A pass asked for at once after the pool starts, before its threads may have
// run: every chunk is done once and the caller comes back.
TEST_F(SimThreads, APassRightAfterAStartReachesEveryThread) {
  for (int round = 0; round < 200; ++round) {
    const int k = 2 + round % 3;
    pool.resize(k, 1);
    std::vector<int> runs(8, 0);
    pool.run(8, true, [&](int c) { ++runs[c]; });
    EXPECT_EQ(runs, std::vector<int>(8, 1)) << "round " << round;
  }
}

}  // namespace
}  // namespace velmora
