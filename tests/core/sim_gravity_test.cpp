// Pulls, the carried force, kicks, and the pulls that have no value.
#include "sim/gravity.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "sim/pull.h"
#include "sim_test_world.h"
#include "testworlds/reference_gravity.h"

namespace velmora {
namespace {

using testing::Body;
using testing::gravityOnly;
using testing::makeWorld;

TEST(ArcSin, ArctangentFormWithTheRoundedQuarterTurnAtTheEnds) {
  EXPECT_EQ(reference::ArcSin(1), 1.5707963267949);
  EXPECT_EQ(reference::ArcSin(-1), -1.5707963267949);
  EXPECT_EQ(reference::ArcSin(0), 0);
  for (double x : {0.5, -0.25, 0.999, -0.9999999})
    EXPECT_NEAR(reference::ArcSin(x), std::asin(x), 1e-9);
}

TEST(Pull, LevelCosineIsTheCosineOfTheRoundedQuarterTurn) {
  EXPECT_EQ(sim::kLevelCosine, std::cos(reference::kQuarterTurn));
  EXPECT_EQ(std::sin(reference::kQuarterTurn), 1.0);  // so a level fx is exactly +-g
}

// One tick with nothing moving (all momenta 0, no border rule, no merging): each
// planet's momentum afterwards is exactly the sum of the forces on it.
struct PullRow {
  const char* name;
  std::vector<Body> bodies;
  double exponent;
  int planetRadius;
  int jitter;
  std::vector<std::pair<int, std::pair<double, double>>> expected;  // body -> momentum
};

void PrintTo(const PullRow& row, std::ostream* os) {
  *os << row.name;
}

class GravityTick : public ::testing::TestWithParam<PullRow> {};

TEST_P(GravityTick, MomentumIsTheSumOfTheForces) {
  const PullRow& row = GetParam();
  auto w = makeWorld(row.bodies);
  w->GravityExponent = row.exponent;
  w->PlanetRadius = static_cast<int16_t>(row.planetRadius);
  w->BondRange = static_cast<int16_t>(std::min(5, row.planetRadius));
  w->ImpactJitter = static_cast<int16_t>(row.jitter);
  w->ImpactJitterSpan = static_cast<int16_t>(2 * row.jitter + 1);
  Rng rng;
  Surface surface;
  sim::tick(*w, gravityOnly(), rng, surface);
  for (const auto& [body, m] : row.expected) {
    SCOPED_TRACE(body);
    EXPECT_EQ(w->MomentumX[body], m.first);
    EXPECT_EQ(w->MomentumY[body], m.second);
  }
}

const double kLevelFy = std::cos(1.5707963267949) * 0.003;

const PullRow kPullRows[] = {
    {"Distance100Exponent2", {{5000, 5100, 0, 0, 0.003}, {5000, 5000}}, 2, 6, 1, {{1, {0, 0.003}}}},
    {"StraightBelowItsPuller",
     {{5000, 4900, 0, 0, 0.003}, {5000, 5000}},
     2,
     6,
     1,
     {{1, {0, -0.003}}}},
    {"ExactlyLevel", {{5100, 5000, 0, 0, 0.003}, {5000, 5000}}, 2, 6, 1, {{1, {0.003, kLevelFy}}}},
    {"LevelOnTheLeft",
     {{4900, 5000, 0, 0, 0.003}, {5000, 5000}},
     2,
     6,
     1,
     {{1, {-0.003, kLevelFy}}}},
    {"ExponentZeroSameAtAnyDistance",
     {{5000, 5000, 0, 0, 0.003}, {5000, 5010}, {5000, 9000}},
     0,
     6,
     1,
     {{1, {0, -30}}, {2, {0, -30}}}},
    // Body 2 meets body 1 first (distance 0, nothing carried yet), then the sun;
    // body 1 meets body 2 first and adds the sun's pull on body 2 again.
    {"CarriedFromBodyToBodyAtDistanceZero",
     {{5000, 5100, 0, 0, 0.003}, {5000, 5000}, {5000, 5000}},
     2,
     6,
     1,
     {{2, {0, 0.003}}, {1, {0, 0.006}}}},
    // Within range (4 apart): the carried fy gets this pair's sign correction.
    {"CarriedWithinRangeTakesThisPairsSign",
     {{5000, 5100, 0, 0, 0.003}, {5000, 5004}, {5000, 5000}},
     2,
     6,
     1,
     {{2, {0, 0.003}}, {1, {0, -0.003 + 30.0 / 9216}}}},
    // The sun 3 to the right of body 1 (never kicked): body 2's pull is added twice.
    {"CloseToTheSunAddsThePreviousPullAgain",
     {{5003, 5000}, {5000, 5000}, {5000, 5100, 0, 0, 0.003}},
     2,
     6,
     1,
     {{1, {0, 0.006}}}},
    // Jitter 0 makes the kick itself 0: what is left is the kick clearing the force,
    // so the sun at distance 0 afterwards adds nothing.
    {"KickLeavesNothingToCarry",
     {{5000, 5000}, {5005.5, 5000}, {5000, 5100, 0, 0, 0.003}, {5000, 5000}},
     2,
     6,
     0,
     {{3, {0, 0.003}}}},
    // A body kept out of motion (PlanetOff 2) still pulls; it is not accelerated.
    {"BodyOutOfMotionStillPulls",
     {{9000, 100}, {5000, 5100, 0, 0, 0.003, 2}, {5000, 5000}},
     2,
     6,
     1,
     {{2, {0, 0.003}}, {1, {0, 0}}}},
    // The choices for pulls without a value: no force, and nothing left to carry.
    {"PowerOverflowPullsNothingAndClearsTheCarry",
     {{5000, 5010}, {5000, 5005, 0, 0, 1e270}, {5000, 5000}},
     400,
     1,
     1,
     {{2, {0, 10000 * 1e270 / sim::powerOf(5.0, 400)}}}},
    {"PowerUnderflowPullsNothing",
     {{5000, 5010, 0, 0, 1}, {5000, 5000.5, 0, 0, 1e-100}, {5000, 5000}},
     -400,
     0,
     1,
     {{2, {0, 10000 * 1e-100 / sim::powerOf(0.5, -400)}}}},
    {"ProductOverflowPullsNothing",
     {{5000, 5100, 0, 0, 1e305}, {5000, 5000}},
     2,
     6,
     1,
     {{1, {0, 0}}}},
    {"QuotientOverflowPullsNothing",
     {{5000, 5100, 0, 0, 1e300}, {5000, 5000}},
     -3,  // power 1e-6: the quotient 1e310 overflows
     6,
     1,
     {{1, {0, 0}}}},
};

INSTANTIATE_TEST_SUITE_P(Rows, GravityTick, ::testing::ValuesIn(kPullRows),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(GravityKick, TwiceATickWithFreshNumbersEqualAndOpposite) {
  // Two planets 5.5 apart: radius 6, bond range 5, jitter 1. No gravity anywhere.
  auto w = makeWorld({{9000, 6000}, {5000, 5000}, {5005.5, 5000}});
  Rng rng;
  rng.seed(99);
  Rng replica = rng;
  Surface surface;
  sim::tick(*w, gravityOnly(), rng, surface);

  // Body 2 meets body 1 first: k1, k2, the sparks; body 2's dot; then the reverse
  // pair with fresh numbers, its sparks and the two remaining dots.
  const auto kickValue = [&] { return std::floor(replica.next() * 3.0) - 1; };
  const double a1 = kickValue(), a2 = kickValue();
  for (int k = 0; k < 54 + 2; ++k) replica.next();
  const double b1 = kickValue(), b2 = kickValue();
  EXPECT_EQ(rng.draws(), 2u * (2 + 54) + 3 * 2);

  // (2, 1): body 1 gains a, body 2 loses it; (1, 2): body 2 gains b, body 1 loses it.
  EXPECT_EQ(w->MomentumX[1], a1 - b1);
  EXPECT_EQ(w->MomentumY[1], a2 - b2);
  EXPECT_EQ(w->MomentumX[2], b1 - a1);
  EXPECT_EQ(w->MomentumY[2], b2 - a2);
}

TEST(GravityKick, EveryValueOfTheJitterOccurs) {
  auto w = makeWorld({{}, {5000, 5000}, {5005.5, 5000}});
  Rng rng;
  sim::CarriedForce force;
  Surface surface;
  std::vector<int> seen(3, 0);
  for (int k = 0; k < 200; ++k) {
    const double before = w->MomentumX[2];
    sim::pairStep(*w, 1, 2, force, rng, surface);
    const double kick = w->MomentumX[2] - before;
    ASSERT_GE(kick, -1);
    ASSERT_LE(kick, 1);
    ++seen[static_cast<int>(kick) + 1];
  }
  EXPECT_GT(seen[0], 30);
  EXPECT_GT(seen[1], 30);
  EXPECT_GT(seen[2], 30);
}

TEST(GravityKick, NeverWithTheSunAndNeverWithinRange) {
  // A planet 5.5 from the sun beyond the sun radius, and two planets 4 apart.
  auto w = makeWorld({{5000, 5000}, {5005.5, 5000}, {7000, 7000}, {7004, 7000}});
  w->SunRadius = 3;
  Rng rng;
  Surface surface;
  sim::tick(*w, gravityOnly(), rng, surface);
  EXPECT_EQ(rng.draws(), 4u * 2);  // the dots only
  for (int i = 0; i <= 3; ++i) {
    EXPECT_EQ(w->MomentumX[i], 0);
    EXPECT_EQ(w->MomentumY[i], 0);
  }
}

TEST(GravitySun, FixedSunIsDrawnAndPullsButNeitherMovesNorAccelerates) {
  auto w = makeWorld({{9000, 6000, 3, 4, 0.003}, {9000, 6100, 0, 0, 50}});
  sim::TickInputs in = gravityOnly();
  in.sunFixed = true;
  Rng rng;
  Surface surface;
  sim::tick(*w, in, rng, surface);
  EXPECT_EQ(w->PlanetX[0], 9000);
  EXPECT_EQ(w->PlanetY[0], 6000);
  EXPECT_EQ(w->MomentumX[0], 3);
  EXPECT_EQ(w->MomentumY[0], 4);
  EXPECT_EQ(w->MomentumY[1], -0.003);
  EXPECT_EQ(surface.pixel((9000 - 900) / 15, 6000 / 15), Surface::pack({255, 191, 128}));

  in.sunFixed = false;
  sim::tick(*w, in, rng, surface);
  EXPECT_EQ(w->PlanetX[0], 9003);
  EXPECT_GT(w->MomentumY[0], 4);  // now pulled toward the heavy planet below
}

TEST(GravityOff, OffBodyNeitherMovesNorPullsNorIsDrawn) {
  auto w = makeWorld({{9000, 6000}, {9000, 6100, 5, 5, 1000, 1}});
  Rng rng;
  Surface surface;
  sim::tick(*w, gravityOnly(), rng, surface);
  EXPECT_EQ(w->PlanetX[1], 9000);
  EXPECT_EQ(w->MomentumY[0], 0);
  EXPECT_EQ(rng.draws(), 2u);
  EXPECT_EQ(surface.pixel((9000 - 900) / 15, 6100 / 15), Surface::pack({0, 0, 0}));
}

TEST(GravityOff, BodyThatDiesAtTheBorderIsOutOfThisTicksGravity) {
  auto w = makeWorld({{9000, 6000}, {905, 6000, -10, 0, 1000}});
  sim::TickInputs in = gravityOnly();
  in.borderOption = 6;  // die
  Rng rng;
  Surface surface;
  sim::tick(*w, in, rng, surface);
  EXPECT_EQ(w->PlanetOff[1], 1);
  EXPECT_EQ(w->MomentumX[0], 0);  // its large gravity pulled nothing
  EXPECT_EQ(w->MomentumX[1], -10);
  EXPECT_EQ(rng.draws(), 2u);
}

}  // namespace
}  // namespace velmora
