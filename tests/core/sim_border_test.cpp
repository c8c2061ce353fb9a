// Border rules on each edge, corners, single-precision limits, relaunch.
#include "sim/border.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cmath>
#include <string>
#include <vector>

#include "sim_test_world.h"

namespace velmora {
namespace {

using testing::Body;
using testing::makeWorld;

constexpr int kW = 17895;
constexpr int kH = 13320;
constexpr double kBottom = kH - 300;

sim::TickInputs withOption(int option, int spin = 0) {
  sim::TickInputs in;
  in.borderOption = option;
  in.spin = spin;
  in.W = kW;
  in.H = kH;
  return in;
}

struct EdgeRow {
  const char* name;
  int option;
  int divisor;
  Body before;  // position already moved this tick
  Body after;
  int events;
};

void PrintTo(const EdgeRow& row, std::ostream* os) {
  *os << row.name;
}

class BorderEdge : public ::testing::TestWithParam<EdgeRow> {};

TEST_P(BorderEdge, AppliesTheRuleAndMarksEachEvent) {
  const EdgeRow& row = GetParam();
  auto w = makeWorld({{}, row.before});
  w->BorderMomentumDivisor = static_cast<int16_t>(row.divisor);
  w->ElapsedSeconds = 42;
  Rng rng;
  EXPECT_EQ(sim::borderStep(*w, withOption(row.option), rng, 1), row.events);
  EXPECT_EQ(w->PlanetX[1], row.after.x);
  EXPECT_EQ(w->PlanetY[1], row.after.y);
  EXPECT_EQ(w->MomentumX[1], row.after.mx);
  EXPECT_EQ(w->MomentumY[1], row.after.my);
  EXPECT_EQ(w->PlanetOff[1], row.after.off);
  EXPECT_EQ(w->LastDisturbance, row.events > 0 ? 42 : 0);
  EXPECT_EQ(rng.draws(), 0u);
}

const EdgeRow kEdgeRows[] = {
    // Wrap: onto the opposite limit, which is no crossing itself.
    {"WrapLeft", kWrap, 1, {899, 500, -5, 3}, {kW, 500, -5, 3}, 1},
    {"WrapRight", kWrap, 1, {kW + 1, 500, 5, 3}, {900, 500, 5, 3}, 1},
    {"WrapTop", kWrap, 1, {5000, -1, 0, -4}, {5000, kBottom, 0, -4}, 1},
    {"WrapBottom", kWrap, 1, {5000, kBottom + 1, 0, 4}, {5000, 0, 0, 4}, 1},
    // Slomo: the same with the divisor 2 across the edge only.
    {"SlomoLeft", kSlomo, 2, {899, 500, -8, 3}, {kW, 500, -4, 3}, 1},
    {"SlomoRight", kSlomo, 2, {kW + 1, 500, 8, 3}, {900, 500, 4, 3}, 1},
    {"SlomoTop", kSlomo, 2, {5000, -1, 3, -8}, {5000, kBottom, 3, -4}, 1},
    {"SlomoBottom", kSlomo, 2, {5000, kBottom + 1, 3, 8}, {5000, 0, 3, 4}, 1},
    // Wall: reversed, 30 inside the edge.
    {"WallLeft", kWall, 1, {890, 500, -20, 3}, {930, 500, 20, 3}, 1},
    {"WallRight", kWall, 1, {kW + 5, 500, 7, 1}, {kW - 30, 500, -7, 1}, 1},
    {"WallTop", kWall, 1, {5000, -3, 1, -6}, {5000, 30, 1, 6}, 1},
    {"WallBottom", kWall, 1, {5000, kBottom + 5, 1, 6}, {5000, kBottom - 30, 1, -6}, 1},
    // Comet: reversed and halved whatever the divisor.
    {"CometLeft", kComet, 2, {890, 500, -20, 3}, {930, 500, 10, 3}, 1},
    {"CometRight", kComet, 1, {kW + 5, 500, 7, 1}, {kW - 30, 500, -3.5, 1}, 1},
    {"CometTop", kComet, 1, {5000, -3, 1, -6}, {5000, 30, 1, 3}, 1},
    {"CometBottom", kComet, 1, {5000, kBottom + 5, 1, 6}, {5000, kBottom - 30, 1, -3}, 1},
    // Die: off, left on the limit crossed, momentum kept.
    {"DieLeft", kDie, 1, {890, 500, -20, 3}, {900, 500, -20, 3, 0, 1}, 1},
    {"DieRight", kDie, 1, {kW + 5, 500, 7, 1}, {kW, 500, 7, 1, 0, 1}, 1},
    {"DieTop", kDie, 1, {5000, -3, 1, -6}, {5000, 0, 1, -6, 0, 1}, 1},
    {"DieBottom", kDie, 1, {5000, kBottom + 5, 1, 6}, {5000, kBottom, 1, 6, 0, 1}, 1},
    // Corners: two events, each marked.
    {"WallCornerLeftTop", kWall, 1, {890, -5, -20, -6}, {930, 30, 20, 6}, 2},
    {"WrapCornerRightBottom", kWrap, 1, {kW + 5, kBottom + 5, 5, 5}, {900, 0, 5, 5}, 2},
    {"DieCornerLeftTop", kDie, 1, {890, -5, -1, -1}, {900, 0, -1, -1, 0, 1}, 2},
    // Right and bottom compare in single precision; left and top do not.
    {"RightWithinSingleRounding", kWall, 1, {kW + 0.0005, 500, 1, 1}, {kW + 0.0005, 500, 1, 1}, 0},
    {"RightBeyondSingleRounding", kWall, 1, {kW + 0.01, 500, 1, 1}, {kW - 30, 500, -1, 1}, 1},
    {"BottomWithinSingleRounding",
     kWall,
     1,
     {5000, kBottom + 0.0004, 1, 1},
     {5000, kBottom + 0.0004, 1, 1},
     0},
    {"LeftIsExact", kWall, 1, {899.9999999, 500, -1, 1}, {930, 500, 1, 1}, 1},
    {"TopIsExact", kWall, 1, {5000, -1e-300, 1, -1}, {5000, 30, 1, 1}, 1},
    {"OnTheLimitsIsInside", kWall, 1, {900, 0, -1, -1}, {900, 0, -1, -1}, 0},
    {"NoOptionSelected", -1, 1, {100, -100, -1, -1}, {100, -100, -1, -1}, 0},
    // An off body is still subject to the rule.
    {"OffBodyBroughtBackByWall", kWall, 1, {500, 500, -2, 0, 0, 1}, {930, 500, 2, 0, 0, 1}, 1},
    {"OffBodyWrapped", kWrap, 1, {500, 500, -2, 0, 0, 1}, {kW, 500, -2, 0, 0, 1}, 1},
};

INSTANTIATE_TEST_SUITE_P(Rows, BorderEdge, ::testing::ValuesIn(kEdgeRows),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(BorderChaos, DrawsOneCoordinateAlongTheEdgePerEvent) {
  struct Row {
    const char* name;
    Body before;
    bool drawsY;  // left and right draw y; top and bottom draw x from the height
    double fixed;
    double mx, my;
  };
  const Row rows[] = {
      {"Left", {890, 500, -20, 3}, true, 930, 10, 3},
      {"Right", {kW + 5, 500, 20, 3}, true, kW - 30, -10, 3},
      {"Top", {5000, -3, 1, -6}, false, 30, 1, 3},
      {"Bottom", {5000, kBottom + 5, 1, 6}, false, kBottom - 30, 1, -3},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    auto w = makeWorld({{}, row.before});
    Rng rng;
    rng.seed(11);
    Rng replica = rng;
    EXPECT_EQ(sim::borderStep(*w, withOption(kChaos), rng, 1), 1);
    EXPECT_EQ(rng.draws(), 1u);
    const double r = replica.next();
    if (row.drawsY) {
      EXPECT_EQ(w->PlanetX[1], row.fixed);
      EXPECT_EQ(w->PlanetY[1], std::floor(kBottom * r));
    } else {
      EXPECT_EQ(w->PlanetY[1], row.fixed);
      EXPECT_EQ(w->PlanetX[1], std::floor((kH - 900) * r) + 900);
    }
    EXPECT_EQ(w->MomentumX[1], row.mx);
    EXPECT_EQ(w->MomentumY[1], row.my);
  }
}

TEST(BorderChaos, LaterEdgeTestsSeeTheDrawnPosition) {
  // Out left and above: the left event draws a y inside the field, so the top test
  // finds nothing.
  auto w = makeWorld({{}, {890, -5, -20, -6}});
  Rng rng;
  EXPECT_EQ(sim::borderStep(*w, withOption(kChaos), rng, 1), 1);
  EXPECT_GE(w->PlanetY[1], 0);
  EXPECT_EQ(w->MomentumY[1], -6);
}

TEST(BorderFourDim, WithSpinLandsInTheUpperRightWithFreshMomentum) {
  auto w = makeWorld({{}, {}});
  Rng rng;
  rng.seed(3);
  const sim::TickInputs in = withOption(kFourDim, 1);
  for (int k = 0; k < 300; ++k) {
    w->PlanetX[1] = kW + 10;  // out on the right only
    w->PlanetY[1] = 500;
    Rng replica = rng;
    const uint64_t before = rng.draws();
    ASSERT_EQ(sim::borderStep(*w, in, rng, 1), 1);
    ASSERT_EQ(rng.draws() - before, 4u);
    const double r1 = replica.next(), r2 = replica.next(), r3 = replica.next(), r4 = replica.next();
    ASSERT_EQ(w->MomentumY[1], std::floor(r1 * 10) + 2);
    ASSERT_EQ(w->MomentumX[1], std::floor(r2 * 10) - 2);
    ASSERT_EQ(w->PlanetX[1], std::floor(kW * 0.3 * r3) + kW * 0.6);
    ASSERT_EQ(w->PlanetY[1], std::floor(r4 * kH * 0.3) + kH * 0.1);
    ASSERT_GE(w->PlanetX[1], 0.6 * kW);
    ASSERT_LE(w->PlanetX[1], 0.9 * kW);
    ASSERT_GE(w->PlanetY[1], 0.1 * kH);
    ASSERT_LE(w->PlanetY[1], 0.4 * kH);
    ASSERT_GE(w->MomentumY[1], 2);
    ASSERT_LE(w->MomentumY[1], 11);
    ASSERT_GE(w->MomentumX[1], -2);
    ASSERT_LE(w->MomentumX[1], 7);
  }
}

TEST(BorderFourDim, WithoutSpinKeepsTheMomentumAndDrawsXFromTheHeight) {
  auto w = makeWorld({{}, {}});
  Rng rng;
  rng.seed(4);
  const sim::TickInputs in = withOption(kFourDim, 0);
  for (int k = 0; k < 300; ++k) {
    w->PlanetX[1] = 100;  // out on the left and above
    w->PlanetY[1] = -100;
    w->MomentumX[1] = -3;
    w->MomentumY[1] = 4;
    Rng replica = rng;
    const uint64_t before = rng.draws();
    // The relaunch at the left edge puts it inside, so the top test sees no crossing.
    ASSERT_EQ(sim::borderStep(*w, in, rng, 1), 1);
    ASSERT_EQ(rng.draws() - before, 2u);
    const double r1 = replica.next(), r2 = replica.next();
    ASSERT_EQ(w->PlanetX[1], std::floor((kH - 900) * r1) + 900);
    ASSERT_EQ(w->PlanetY[1], std::floor(kBottom * r2));
    ASSERT_GE(w->PlanetX[1], 900);
    ASSERT_LE(w->PlanetX[1], kH - 1);
    ASSERT_GE(w->PlanetY[1], 0);
    ASSERT_LE(w->PlanetY[1], kH - 301);
    ASSERT_EQ(w->MomentumX[1], -3);
    ASSERT_EQ(w->MomentumY[1], 4);
  }
}

// A lone sun in a field 10 twips wide, leaving on the right again and again.
TEST(BorderSlomo, HalvesTheMomentumAtEveryWrap) {
  auto w = makeWorld({{905, 500, 8, 0}});
  w->BorderMomentumDivisor = 2;
  sim::TickInputs in = withOption(kSlomo);
  in.W = 910;
  Rng rng;
  Surface surface{910, kH};
  std::vector<double> momenta;
  for (int t = 0; t < 60 && momenta.size() < 4; ++t) {
    const double before = w->MomentumX[0];
    sim::tick(*w, in, rng, surface);
    if (w->MomentumX[0] != before) {
      momenta.push_back(w->MomentumX[0]);
      EXPECT_EQ(w->PlanetX[0], 900);
    }
  }
  EXPECT_EQ(momenta, (std::vector<double>{4, 2, 1, 0.5}));
}

TEST(BorderDie, BodyStaysOnTheLimitAndIsNeverAnEventAgain) {
  auto w = makeWorld({{9000, 6000}, {kW - 2, 500, 5, 1}});
  Rng rng;
  Surface surface{kW, kH};
  sim::TickInputs in = withOption(kDie);
  in.bind = false;
  w->ElapsedSeconds = 1;
  sim::tick(*w, in, rng, surface);
  EXPECT_EQ(w->PlanetOff[1], 1);
  EXPECT_EQ(w->PlanetX[1], kW);
  EXPECT_EQ(w->LastDisturbance, 1);
  for (int t = 2; t < 10; ++t) {
    w->ElapsedSeconds = t;
    sim::tick(*w, in, rng, surface);
  }
  EXPECT_EQ(w->PlanetX[1], kW);
  EXPECT_EQ(w->PlanetY[1], 501);
  EXPECT_EQ(w->MomentumX[1], 5);
  EXPECT_EQ(w->LastDisturbance, 1);
  EXPECT_EQ(rng.draws(), 2u * 9);  // only the sun is drawn, from the first tick on
}

}  // namespace
}  // namespace velmora
