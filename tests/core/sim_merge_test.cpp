// Bonding and merging: survivor, weights, ranges, ties, chains, the sun.
#include "sim/merge.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>

#include "sim_test_world.h"

namespace velmora {
namespace {

using testing::Body;
using testing::makeWorld;

struct MergeRow {
  const char* name;
  Body a;  // body 2 unless the row involves the sun
  Body b;  // body 1, or the sun
  bool withSun;
  bool merges;
  int survivor = 0;
  double gravity = 0, mx = 0, my = 0;  // of the survivor
};

void PrintTo(const MergeRow& row, std::ostream* os) {
  *os << row.name;
}

class MergeStep : public ::testing::TestWithParam<MergeRow> {};

TEST_P(MergeStep, SurvivorTakesTheSumAndTheWeightedMomentum) {
  const MergeRow& row = GetParam();
  auto w = row.withSun ? makeWorld({row.b, row.a}) : makeWorld({{}, row.b, row.a});
  const int a = row.withSun ? 1 : 2;
  const int b = row.withSun ? 0 : 1;
  const World before = *w;
  w->ElapsedSeconds = 9;
  Rng rng;
  Surface surface;
  EXPECT_EQ(sim::mergeStep(*w, a, b, rng, surface), row.merges);
  if (!row.merges) {
    EXPECT_EQ(w->PlanetGravity, before.PlanetGravity);
    EXPECT_EQ(w->PlanetOff, before.PlanetOff);
    EXPECT_EQ(w->MomentumX, before.MomentumX);
    EXPECT_EQ(rng.draws(), 0u);
    EXPECT_EQ(w->LastDisturbance, 0);
    return;
  }
  const int s = row.survivor == 0 ? a : b;
  const int t = row.survivor == 0 ? b : a;
  EXPECT_EQ(w->PlanetGravity[s], row.gravity);
  EXPECT_EQ(w->MomentumX[s], row.mx);
  EXPECT_EQ(w->MomentumY[s], row.my);
  EXPECT_EQ(w->PlanetOff[s], 0);
  EXPECT_EQ(w->PlanetOff[t], 1);
  // The absorbed body keeps everything but its flag; positions do not change.
  EXPECT_EQ(w->PlanetGravity[t], before.PlanetGravity[t]);
  EXPECT_EQ(w->MomentumX[t], before.MomentumX[t]);
  EXPECT_EQ(w->MomentumY[t], before.MomentumY[t]);
  EXPECT_EQ(w->PlanetX, before.PlanetX);
  EXPECT_EQ(rng.draws(), 54u);  // the impact sparks
  EXPECT_EQ(w->LastDisturbance, 9);
}

// survivor: 0 for the outer body a, 1 for b.
const MergeRow kMergeRows[] = {
    {"HeavierOuterSurvives", {5000, 5000, 4, 0, 3}, {5002, 5000, 0, 8, 1}, false, true, 0, 4, 3, 2},
    {"HeavierInnerSurvives", {5000, 5000, 0, 8, 1}, {5002, 5000, 4, 0, 3}, false, true, 1, 4, 3, 2},
    {"EqualGravityOuterSurvives",
     {5000, 5000, 2, 0, 2},
     {5000, 5003, 0, 2, 2},
     false,
     true,
     0,
     4,
     1,
     1},
    {"ZeroSumUsesEqualWeights",
     {5000, 5000, 2, 6, 1},
     {5000, 5003, 4, 0, -1},
     false,
     true,
     0,
     0,
     3,
     3},
    {"DistanceZeroNeverMerges", {5000, 5000, 0, 0, 3}, {5000, 5000, 0, 0, 1}, false, false},
    {"DistanceEqualToRangeDoesNotMerge",
     {5000, 5000, 0, 0, 3},
     {5003, 5004, 0, 0, 1},
     false,
     false},
    {"JustInsideRangeMerges",
     {5000, 5000, 0, 0, 3},
     {5004.99, 5000, 0, 0, 1},
     false,
     true,
     0,
     4,
     0,
     0},
    {"PlanetsIgnoreTheSunRadius", {5000, 5000, 0, 0, 3}, {5150, 5000, 0, 0, 1}, false, false},
    {"SunSwallowsWithinItsRadius",
     {5150, 5000, 10, 0, 1},
     {5000, 5000, 0, 0, 3},
     true,
     true,
     1,
     4,
     2.5,
     0},
    {"HeavierPlanetSwitchesTheSunOff",
     {5100, 5000, 0, 0, 300},
     {5000, 5000, 0, 0, 100},
     true,
     true,
     0,
     400,
     0,
     0},
};

INSTANTIATE_TEST_SUITE_P(Rows, MergeStep, ::testing::ValuesIn(kMergeRows),
                         [](const auto& p) { return std::string(p.param.name); });

// Whole ticks with nothing pulling (every pair within a huge planet radius, jitter
// 0): only motion and the merging pass change anything.
struct MergeTick : ::testing::Test {
  void quiet(World& w) {
    w.PlanetRadius = 30000;
    w.ImpactJitter = 0;
    w.ImpactJitterSpan = 1;
  }
  sim::TickInputs in;
  Rng rng;
  Surface surface;
};

TEST_F(MergeTick, EqualGravityKeepsTheHigherIndex) {
  auto w = makeWorld({{12000, 9000}, {5000, 5000, 0, 0, 2}, {5003, 5000, 0, 0, 2}});
  quiet(*w);
  sim::tick(*w, in, rng, surface);
  EXPECT_EQ(w->PlanetOff[1], 1);
  EXPECT_EQ(w->PlanetOff[2], 0);
  EXPECT_EQ(w->PlanetGravity[2], 4);
}

TEST_F(MergeTick, ChainMergesWithinOnePassWithUpdatedValues) {
  // After the move: 3 in the middle, 2 three to its right, 1 three to its left.
  auto w = makeWorld(
      {{12000, 9000}, {4997, 5001, 0, -1, 1}, {5003, 4999, 0, 1, 1}, {5000, 5000, 0, 0, 5}});
  quiet(*w);
  w->ElapsedSeconds = 3;
  sim::tick(*w, in, rng, surface);
  EXPECT_EQ(w->PlanetOff[1], 1);
  EXPECT_EQ(w->PlanetOff[2], 1);
  EXPECT_EQ(w->PlanetGravity[3], 7);
  const double w1 = 5.0 / 6;
  const double my1 = w1 * 0 + (1 - w1) * 1;
  const double w2 = 6.0 / 7;
  EXPECT_EQ(w->MomentumY[3], w2 * my1 + (1 - w2) * -1);
  EXPECT_EQ(w->LastDisturbance, 3);
}

TEST_F(MergeTick, ChainPassesToTheHeavierBodyAndGoesOnFromIt) {
  // 3 meets 2 first and is absorbed; 2 later absorbs 1 with the summed gravity.
  auto w = makeWorld(
      {{12000, 9000}, {5000, 5003, 0, 0, 1}, {5000, 5000, 0, 0, 4}, {5003, 5000, 0, 0, 2}});
  quiet(*w);
  sim::tick(*w, in, rng, surface);
  EXPECT_EQ(w->PlanetOff[3], 1);
  EXPECT_EQ(w->PlanetOff[1], 1);
  EXPECT_EQ(w->PlanetGravity[2], 7);
  EXPECT_EQ(w->PlanetGravity[3], 2);
}

TEST_F(MergeTick, FixedSunAbsorbsAndGainsMomentumButDoesNotMove) {
  auto w = makeWorld({{9000, 6000, 0, 0, 100}, {9050, 5990, 0, 10, 1}});
  quiet(*w);
  in.sunFixed = true;
  sim::tick(*w, in, rng, surface);
  ASSERT_EQ(w->PlanetOff[1], 1);
  EXPECT_EQ(w->PlanetGravity[0], 101);
  const double weight = 100.0 / 101;
  EXPECT_EQ(w->MomentumY[0], weight * 0 + (1 - weight) * 10);
  sim::tick(*w, in, rng, surface);
  EXPECT_EQ(w->PlanetX[0], 9000);
  EXPECT_EQ(w->PlanetY[0], 6000);
}

TEST_F(MergeTick, NothingMergesWithoutBindingUntilItIsSetAgain) {
  auto w = makeWorld({{12000, 9000}, {5000, 5000, 0, 0, 1}, {5002, 5000, 0, 0, 1}});
  quiet(*w);
  in.bind = false;
  for (int t = 0; t < 3; ++t) sim::tick(*w, in, rng, surface);
  EXPECT_EQ(w->PlanetOff[1] + w->PlanetOff[2], 0);
  in.bind = true;
  sim::tick(*w, in, rng, surface);
  EXPECT_EQ(w->PlanetOff[1], 1);
}

}  // namespace
}  // namespace velmora
