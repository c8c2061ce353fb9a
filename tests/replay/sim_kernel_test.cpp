// The vectorised gravity kernel and the merging shortcuts against the engine's own
// pair-by-pair path, bit for bit, and our power against the platform's.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/sim_test_world.h"
#include "sim/axial_lanes.h"
#include "sim/engine_stages.h"
#include "sim/lane_width.h"
#include "sim/power.h"
#include "sim/pull.h"
#include "sim/pull_rows.h"
#include "sim/tick_driver.h"

namespace velmora {
namespace {

// Exposes only the per-pair stages, so the driver visits every pair and every
// merge candidate in literal order through pairStep and mergeStep.
struct PairByPair {
  sim::EngineStages& s;
  void move(int i) { s.move(i); }
  void border(int i) { s.border(i); }
  void startBody(int i) { s.startBody(i); }
  void pair(int i, int j) { s.pair(i, j); }
  void draw(int i) { s.draw(i); }
  void accelerate(int i) { s.accelerate(i); }
  void merge(int a, int b) { s.merge(a, b); }
};

// A dense field: many close pairs (kicks, carried force, merges), some exactly level
// or straight pairs, some off bodies (offShare of them), the sun heavy.
std::unique_ptr<World> denseWorld(uint32_t seed, double exponent, double offShare = 0.05) {
  Rng gen;
  gen.seed(seed);
  auto w = testing::makeWorld({{}});
  w->PlanetCount = 599;
  w->GravityExponent = exponent;
  for (int i = 0; i < 600; ++i) {
    double x = 2000 + 3000 * gen.next();
    double y = 1000 + 2000 * gen.next();
    const double pick = gen.next();
    if (i > 0 && pick < 0.05) y = w->PlanetY[i - 1];  // level with the previous body
    if (i > 0 && pick > 0.95) x = w->PlanetX[i - 1];  // straight above or below it
    if (i > 0 && pick > 0.4 && pick < 0.5) {
      x = w->PlanetX[i - 1] + 12 * gen.next() - 6;
      y = w->PlanetY[i - 1] + 12 * gen.next() - 6;
    }
    w->PlanetX[i] = x;
    w->PlanetY[i] = y;
    w->MomentumX[i] = 6 * gen.next() - 3;
    w->MomentumY[i] = 6 * gen.next() - 3;
    w->PlanetGravity[i] = i == 0 ? 100 : 0.01 * gen.next();
    w->PlanetOff[i] = gen.next() < offShare ? 1 : 0;
  }
  return w;
}

struct Run {
  World& w;
  Rng& rng;
  Surface& surface;
};

// Tick t of the engine on `fast`, with the two orders of the sweeps tick about, and
// of the pair-by-pair path on `slow`; the literal path's disturbances.
int tickBothWays(int t, const sim::TickInputs& in, Run fast, Run slow) {
  const auto order = t % 2 == 0 ? sim::AxialSweep::kSecond : sim::AxialSweep::kFirst;
  sim::EngineStages a(fast.w, in, fast.rng, fast.surface, order);
  sim::driveTick(fast.w, in, a);
  sim::EngineStages b(slow.w, in, slow.rng, slow.surface);
  PairByPair literal{b};
  sim::driveTick(slow.w, in, literal);
  return b.disturbances();
}

// `ticks` ticks both ways from one seed; the tables, the draws and the dots agree.
// Returns the draws.
uint64_t expectSameTicks(int ticks, const sim::TickInputs& in, World& fast, World& slow) {
  Rng rf, rs;
  rf.seed(5);
  rs.seed(5);
  Surface sf, ss;
  for (int t = 0; t < ticks; ++t) tickBothWays(t, in, {fast, rf, sf}, {slow, rs, ss});
  EXPECT_EQ(fast.PlanetX, slow.PlanetX);
  EXPECT_EQ(fast.MomentumX, slow.MomentumX);
  EXPECT_EQ(fast.MomentumY, slow.MomentumY);
  EXPECT_EQ(fast.PlanetOff, slow.PlanetOff);
  EXPECT_EQ(rf.draws(), rs.draws());
  EXPECT_EQ(sf.pixels(), ss.pixels());
  return rf.draws();
}

TEST(SimKernel, FastRowsAndMergeShortcutsChangeNoBit) {
  for (double exponent : {2.0, 1.7, 1.0, -0.5}) {
    for (uint32_t seed : {1u, 2u, 3u, 4u}) {
      SCOPED_TRACE(::testing::Message() << "exponent " << exponent << ", seed " << seed);
      auto fast = denseWorld(seed, exponent);
      auto slow = denseWorld(seed, exponent);
      if (seed == 3) {  // no close pairs at all: the nearest are pulls from below 1
        fast->PlanetRadius = slow->PlanetRadius = 0;
        fast->BondRange = slow->BondRange = 0;
      }
      if (seed == 4) {  // a gravity the lanes cannot take: every row pair by pair
        fast->PlanetGravity[7] = slow->PlanetGravity[7] = 1e-60;
        fast->PlanetOff[7] = slow->PlanetOff[7] = 0;
      }
      sim::TickInputs in;
      in.borderOption = 4;
      in.bind = seed != 2;  // without merging, close pairs inside the bond range stay
      Rng rf, rs;
      rf.seed(seed);
      rs.seed(seed);
      Surface sf, ss;
      int redone = 0;   // rows the game's thread redoes: a force carried in
      int kicked = 0;   // rows summed ahead whose kicks the game's thread makes
      int settled = 0;  // rows summed pair by pair ahead of the pass
      int carried = 0;  // rows with close pairs taken from the lanes, not redone
      int merged = 0;
      for (int t = 0; t < 5; ++t) {
        merged += tickBothWays(t, in, {*fast, rf, sf}, {*slow, rs, ss});
        if (t == 0) {
          sim::PullRows rows;
          sim::computePullRows(*fast, fast->PlanetCount, rows, sim::AxialSweep::kSecond);
          for (double r : rows.redo) redone += r != 0;
          for (const auto& partners : rows.kicks) kicked += !partners.empty();
          settled += rows.settledRows;
          for (int i = 0; i <= fast->PlanetCount; ++i) {
            if (rows.redo[i] != 0 || fast->PlanetOff[i] == 1) continue;
            for (int j = 0; j <= fast->PlanetCount; ++j) {
              const double dx = fast->PlanetX[j] - fast->PlanetX[i];
              const double dy = fast->PlanetY[j] - fast->PlanetY[i];
              if (j != i && fast->PlanetOff[j] != 1 &&
                  std::sqrt(dx * dx + dy * dy) <= fast->PlanetRadius) {
                ++carried;
                break;
              }
            }
          }
        }
      }
      EXPECT_EQ(fast->PlanetX, slow->PlanetX);
      EXPECT_EQ(fast->MomentumX, slow->MomentumX);
      EXPECT_EQ(fast->MomentumY, slow->MomentumY);
      EXPECT_EQ(fast->PlanetGravity, slow->PlanetGravity);
      EXPECT_EQ(fast->PlanetOff, slow->PlanetOff);
      EXPECT_EQ(rf.draws(), rs.draws());
      EXPECT_EQ(sf.pixels(), ss.pixels());
      // Every kind of row and real merges took part: with no close pairs (seed 3)
      // nothing kicks, so the level and straight rows are all settled.
      EXPECT_GT(settled, seed == 3 ? 0 : -1);
      if (seed == 3) {
        EXPECT_EQ(redone + kicked, 0);
      } else if (seed == 4) {
        EXPECT_GT(redone, 5);  // the rows that kick, left to the game's thread
        EXPECT_EQ(kicked, 0);
        EXPECT_GT(redone + settled, 500);
      } else {
        EXPECT_GT(kicked, 5);
        EXPECT_LT(redone + settled, 500);
      }
      if (in.bind) {
        EXPECT_GT(merged, 0);
      } else {
        EXPECT_GT(carried, 5);
      }
    }
  }
}

// Most of the table off, as a game leaves it once its bodies have merged: the
// sweeps' lanes hold only the live bodies, wherever they sit in the table.
TEST(SimKernel, AMostlyEmptyTableChangesNoBit) {
  for (double exponent : {2.0, 1.7}) {
    SCOPED_TRACE(::testing::Message() << "exponent " << exponent);
    auto fast = denseWorld(5, exponent, 0.9);
    auto slow = denseWorld(5, exponent, 0.9);
    int live = 0;
    for (int i = 0; i <= fast->PlanetCount; ++i) live += fast->PlanetOff[i] != 1;
    ASSERT_GT(live, 30);
    ASSERT_LT(live, 100);
    sim::TickInputs in;
    in.borderOption = 4;
    expectSameTicks(6, in, *fast, *slow);
  }
}

// Bodies held on two walls, as the Wall border leaves a crowd: half share one X
// exactly, half one Y, so nearly every row has partners straight above or below or
// exactly level. A few pairs sit just beyond the bond range and kick. Three bodies
// last in the tables: the top two within the bond range, so their rows open on a
// close pair and take the force carried in, and the one below them kicks the third.
std::unique_ptr<World> wallWorld(double exponent, double sunX = 3000, double sunY = 2000) {
  std::vector<testing::Body> bodies{{.x = sunX, .y = sunY, .gravity = 50}};
  for (int i = 1; i < 400; ++i) {
    const bool leftWall = i % 2 == 1;
    const double along = 20.0 * i + (i % 7) * 0.37;
    bodies.push_back({.x = leftWall ? 500 : 600 + along,
                      .y = leftWall ? 300 + along : 300,
                      .mx = 0,
                      .my = 0,
                      .gravity = 0.001 * (1 + i % 5)});
    if (i % 50 == 0) {  // a partner 5.5 away along the wall: beyond the bond range of 5
      const testing::Body& b = bodies.back();
      bodies.push_back({.x = b.x + 5.5, .y = b.y, .gravity = 0.002});
      ++i;
    }
  }
  for (double x : {2000.0, 2005.5, 2008.5}) bodies.push_back({.x = x, .y = 1200, .gravity = 0.002});
  auto w = testing::makeWorld(bodies);
  w->GravityExponent = exponent;
  return w;
}

// The force a row opening on a close pair takes carried in is the last pair's of
// the row above: known ahead when that pair is distant, plain or (here) level, but
// not when it is close, as with the sun beside the top body.
struct SunPlace {
  double x, y;
  int redone;  // rows left to the game's thread
};

TEST(SimKernel, WallRowsAreSettledAheadWithTheSameBits) {
  const SunPlace places[] = {{3000, 2000, 0}, {3000, 1200, 0}, {2012.5, 1203, 1}};
  for (double exponent : {2.0, 1.7, 1.0, 0.0}) {
    for (const SunPlace& sun : places) {
      SCOPED_TRACE(::testing::Message()
                   << "exponent " << exponent << ", sun " << sun.x << " " << sun.y);
      auto fast = wallWorld(exponent, sun.x, sun.y);
      auto slow = wallWorld(exponent, sun.x, sun.y);
      sim::PullRows rows;
      sim::computePullRows(*fast, fast->PlanetCount, rows, sim::AxialSweep::kSecond);
      int redone = 0;
      for (double r : rows.redo) redone += r != 0;
      int kicked = 0;
      for (const auto& partners : rows.kicks) kicked += !partners.empty();
      EXPECT_GT(rows.settledRows, 300);
      EXPECT_EQ(redone, sun.redone);
      EXPECT_GT(kicked, 10);  // the rows of the pairs beyond the bond range
      const int p = fast->PlanetCount - 2;
      EXPECT_EQ(rows.kicks[p], std::vector<int>{p + 1});
      if (sun.redone == 0) {
        EXPECT_EQ(rows.kicks[p + 1], std::vector<int>{p});
      } else {
        EXPECT_NE(rows.redo[p + 1], 0);  // the top row's last pair, with the sun, is close
      }

      const uint64_t draws = expectSameTicks(4, testing::gravityOnly(), *fast, *slow);
      EXPECT_GT(draws, 2 * 400u);  // the dots and the kicks' draws
    }
  }
}

uint64_t bits(double v) {
  return std::bit_cast<uint64_t>(v);
}

// The wall world with a pile of 30 bodies in its corner, on one point exactly, as
// the Wall border leaves a crowd's corners: the lanes on that point take each
// column's pull once.
std::unique_ptr<World> pileWorld(double exponent) {
  auto w = wallWorld(exponent);
  for (int k = 0; k < 30; ++k) {
    const int i = ++w->PlanetCount;
    w->PlanetX[i] = 500;
    w->PlanetY[i] = 300;
    w->PlanetGravity[i] = 0.001 * (1 + k % 3);
  }
  return w;
}

// The sweep that takes level and straight pairs at once leaves every row as the
// plain sweep followed by the second one does: the same rows to redo and kicks to
// make, and the same sums and carried force, bit for bit, in all the others. (The ticks above check
// the merges it lets a row skip.)
TEST(SimKernel, EitherSweepFirstGivesTheSameRows) {
  for (double exponent : {2.0, 1.7, 1.0, 0.0}) {
    for (int world = 0; world < 4; ++world) {
      SCOPED_TRACE(::testing::Message() << "exponent " << exponent << ", world " << world);
      const auto w = world == 0   ? wallWorld(exponent)
                     : world == 3 ? pileWorld(exponent)
                                  : denseWorld(world, exponent);
      if (world == 3) {
        sim::AxialLanes lanes;
        sim::orderAxialLanes(*w, w->PlanetCount + 1, lanes);
        ASSERT_EQ(lanes.onePoint.size(), 1u);
      }
      sim::PullRows second, first;
      sim::computePullRows(*w, w->PlanetCount, second, sim::AxialSweep::kSecond);
      sim::computePullRows(*w, w->PlanetCount, first, sim::AxialSweep::kFirst);
      ASSERT_FALSE(second.axialFirst);
      ASSERT_TRUE(first.axialFirst);
      EXPECT_EQ(first.redo, second.redo);
      EXPECT_EQ(first.kicks, second.kicks);
      // A level or straight pair's distance is known at once, so a row may merge only
      // where the plain sweep said so too, and often where it could not tell.
      for (int i = 0; i <= w->PlanetCount; ++i) EXPECT_LE(first.near[i], second.near[i]);
      EXPECT_LE(first.anyNear, second.anyNear);
      int compared = 0;
      for (int i = 0; i <= w->PlanetCount; ++i) {
        if (second.redo[i] != 0 || w->PlanetOff[i] == 1) continue;
        ++compared;
        EXPECT_EQ(bits(first.sumX[i]), bits(second.sumX[i])) << "row " << i;
        EXPECT_EQ(bits(first.sumY[i]), bits(second.sumY[i])) << "row " << i;
        EXPECT_EQ(bits(first.carryX[i]), bits(second.carryX[i])) << "row " << i;
        EXPECT_EQ(bits(first.carryY[i]), bits(second.carryY[i])) << "row " << i;
      }
      EXPECT_GT(compared, w->PlanetCount / 2);
    }
  }
}

// Bit for bit what a row's pulls and sums hold, NaN and signed zeros included.
std::vector<uint64_t> rowBits(const World& w, const sim::PullRows& rows) {
  std::vector<uint64_t> out;
  for (int i = 0; i <= w.PlanetCount; ++i) {
    for (double v :
         {rows.sumX[i], rows.sumY[i], rows.carryX[i], rows.carryY[i], rows.redo[i], rows.near[i]}) {
      out.push_back(bits(v));
    }
    out.push_back(rows.kicks[i].size());
    for (int j : rows.kicks[i]) out.push_back(static_cast<uint64_t>(j));
  }
  sim::RowPulls pulls;
  sim::pullsOfRow(w, w.PlanetCount / 2, w.PlanetCount, rows, pulls);
  for (int j = 0; j <= w.PlanetCount; ++j) {
    for (double v : {pulls.fx[j], pulls.fy[j], pulls.plain[j]}) out.push_back(bits(v));
  }
  return out;
}

// Each vector width the processor runs gives the baseline's rows, in both sweep
// orders and in a single row's pulls.
TEST(SimKernel, EveryLaneWidthGivesTheSameRows) {
  const sim::LaneWidth saved = sim::laneWidth();
  sim::setLaneWidth(sim::LaneWidth::kAvx512);
  const sim::LaneWidth widest = sim::kernelLaneWidth();
  if (widest == sim::LaneWidth::kBaseline) {
    sim::setLaneWidth(saved);
    GTEST_SKIP() << "this build or processor runs the baseline lanes alone";
  }
  for (double exponent : {2.0, 1.7, 1.0, 0.0}) {
    for (int world = 0; world < 3; ++world) {
      const auto w = world == 0   ? wallWorld(exponent)
                     : world == 1 ? pileWorld(exponent)
                                  : denseWorld(7, exponent);
      for (const auto order : {sim::AxialSweep::kSecond, sim::AxialSweep::kFirst}) {
        std::vector<std::vector<uint64_t>> byWidth;
        for (int k = 0; k <= static_cast<int>(widest); ++k) {
          sim::setLaneWidth(static_cast<sim::LaneWidth>(k));
          ASSERT_EQ(sim::kernelLaneWidth(), static_cast<sim::LaneWidth>(k));
          sim::PullRows rows;
          sim::computePullRows(*w, w->PlanetCount, rows, order);
          byWidth.push_back(rowBits(*w, rows));
        }
        for (size_t k = 1; k < byWidth.size(); ++k) {
          EXPECT_EQ(byWidth[k], byWidth[0]) << "exponent " << exponent << ", world " << world
                                            << ", " << sim::nameOf(static_cast<sim::LaneWidth>(k));
        }
      }
    }
  }
  sim::setLaneWidth(saved);
}

// (1 + 2^-30)(1 - 2^-30) = 1 - 2^-60 rounds to 1, so the unfused sum with -1 is 0;
// a fused multiply-add keeps the -2^-60.
TEST(SimKernel, KernelDoesNotFuseProductsIntoSums) {
  const double a = 1 + std::ldexp(1.0, -30);
  const double b = 1 - std::ldexp(1.0, -30);
  ASSERT_EQ(std::fma(a, b, -1.0), -std::ldexp(1.0, -60));  // the pair tells them apart
  EXPECT_EQ(sim::productThenSum(a, b, -1.0), 0.0);
}

TEST(SimPower, CloseToThePlatformsPowerAndExactAtTheEnds) {
  Rng gen;
  gen.seed(9);
  double worst = 0;
  for (int k = 0; k < 200000; ++k) {
    const double r = std::exp(-3 + 14 * static_cast<double>(gen.next()));  // 0.05 .. 60000
    const double e = -4 + 8 * static_cast<double>(gen.next());
    const double ours = sim::powerOf(r, e);
    const double theirs = std::pow(r, e);
    worst = std::max(worst, std::fabs(ours - theirs) / theirs);
  }
  EXPECT_LT(worst, 2e-14);  // ~100 units in the last place, from rounding e * log r
  EXPECT_EQ(sim::powerOf(1, 1.7), 1);
  EXPECT_EQ(sim::powerOf(2, 10), 1024);
  EXPECT_EQ(sim::powerOf(8, 400), std::numeric_limits<double>::infinity());
  EXPECT_EQ(sim::powerOf(8, -400), 0);
  EXPECT_GT(sim::powerOf(2, -1070), 0);  // subnormal results survive
  EXPECT_TRUE(std::isnan(sim::powerOf(3, std::numeric_limits<double>::quiet_NaN())));
}

// The lanes' unchecked power must give the checked one's bits, and the log must stay
// within a unit or two in the last place across the whole exponent range.
TEST(SimPower, UncheckedPowerMatchesAndLogIsTight) {
  Rng gen;
  gen.seed(11);
  double worstLog = 0;
  for (int k = 0; k < 200000; ++k) {
    const double d2 = std::exp(28 * static_cast<double>(gen.next()));  // 1 .. 1.4e12
    const double half = sim::halfExponent(-4 + 8 * static_cast<double>(gen.next()));
    ASSERT_EQ(sim::powerInRange(d2, half), sim::powerOf(d2, half)) << d2 << " " << half;
    const double x = std::exp(-700 + 1400 * static_cast<double>(gen.next()));
    const double log = std::log(x);
    worstLog = std::max(worstLog, std::fabs(sim::powdetail::logOf(x) - log) / std::fabs(log));
  }
  EXPECT_LT(worstLog, 4.5e-16);
  EXPECT_EQ(sim::powdetail::logOf(1), 0);
  EXPECT_EQ(sim::powdetail::logOf(0x1p-1022), -1022 * std::log(2.0));
}

}  // namespace
}  // namespace velmora
