// The tools on the field of a paused game: each is an edit through the editor's
// own controls, so the bounds, the selection and "live only" are the editor's.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "app/engine_events.h"
#include "app/field_tools.h"
#include "editor/editor.h"
#include "editor_fixture.h"

namespace velmora {
namespace {

using testing::GameFixture;
using testing::pauseOrResume;
using testing::startSystem;

// A paused system of `count` planets, the editor open on body 0.
void pausedSystem(GameFixture& f, int count) {
  startSystem(f, count);
  pauseOrResume(f);
  ASSERT_EQ(f.g.TXTOden->text(), "0");
}

TEST(FieldTools, PickSelectsTheNearestLiveBodyWithinReach) {
  GameFixture f;
  Game& g = f.g;
  pausedSystem(f, 12);
  World& w = g.world;
  w.PlanetX[5] = 4000;
  w.PlanetY[5] = 4000;
  w.PlanetX[6] = 4100;  // nearer the click, but off
  w.PlanetY[6] = 4000;
  w.PlanetOff[6] = 1;
  w.PlanetX[7] = 3800;
  w.PlanetY[7] = 4000;

  EXPECT_EQ(pickAt(g, 4090, 4000), ToolOutcome::kDone);
  EXPECT_EQ(g.Qui->value(), 5);
  EXPECT_EQ(g.TXTOden->text(), "5");
  EXPECT_EQ(g.TXTp[kTxtpX]->text(), "4000");
  EXPECT_TRUE(g.Shark->visible());
  EXPECT_EQ(g.Shark->left(), 4000 - g.Shark->width() / 2);

  // Reach is 20 pixels: 300 twips at scale 1, what the face passes when zoomed.
  EXPECT_EQ(pickAt(g, 3800 - 300, 4000), ToolOutcome::kDone);
  EXPECT_EQ(g.Qui->value(), 7);
  EXPECT_EQ(pickAt(g, 3800 - 301, 4000), ToolOutcome::kNothingThere);
  EXPECT_EQ(pickAt(g, 4000, 4000 + 40, 30), ToolOutcome::kNothingThere);
  EXPECT_EQ(g.Qui->value(), 7);

  pauseOrResume(f);  // running: no pick
  EXPECT_EQ(pickAt(g, 4000, 4000), ToolOutcome::kNotAvailable);
  EXPECT_EQ(g.TXTOden->text(), "7");
}

TEST(FieldTools, DragStoresEachCoordinateAsATypedEditHeldToTheField) {
  GameFixture f;
  Game& g = f.g;
  pausedSystem(f, 4);
  ASSERT_EQ(pickAt(g, g.world.PlanetX[3], g.world.PlanetY[3]), ToolOutcome::kDone);
  int stores = 0;
  g.TXTp[kTxtpX]->onLostFocus = [&g, &stores] {
    ++stores;
    TXTp_LostFocus(g, kTxtpX);
  };
  g.TXTp[kTxtpY]->onLostFocus = [&g, &stores] {
    ++stores;
    TXTp_LostFocus(g, kTxtpY);
  };
  const double momentum = g.world.MomentumX[3];

  EXPECT_EQ(dragTo(g, 5000.5, 6000.25), ToolOutcome::kDone);
  EXPECT_EQ(stores, 2);
  EXPECT_EQ(g.world.PlanetX[3], 5000.5);
  EXPECT_EQ(g.world.PlanetY[3], 6000.25);
  EXPECT_EQ(g.world.MomentumX[3], momentum);

  // Beyond the field the body stops at its edge: x from 900 to W, y to H - 300.
  EXPECT_EQ(dragTo(g, -50, 1e9), ToolOutcome::kDone);
  EXPECT_EQ(g.world.PlanetX[3], kFieldLeft);
  EXPECT_EQ(g.world.PlanetY[3], g.H() - kFieldBottomGap);
  EXPECT_EQ(dragTo(g, 1e9, -1), ToolOutcome::kDone);
  EXPECT_EQ(g.world.PlanetX[3], g.W());
  EXPECT_EQ(g.world.PlanetY[3], 0);
}

TEST(FieldTools, AimIsBoundedAsTypingIsAndNeedsThePause) {
  GameFixture f;
  Game& g = f.g;
  pausedSystem(f, 4);
  ASSERT_EQ(pickAt(g, g.world.PlanetX[2], g.world.PlanetY[2]), ToolOutcome::kDone);
  const double x = g.world.PlanetX[2];

  EXPECT_EQ(aimAt(g, 12.5, -7), ToolOutcome::kDone);
  EXPECT_EQ(g.world.MomentumX[2], 12.5);
  EXPECT_EQ(g.world.MomentumY[2], -7);
  EXPECT_EQ(g.TXTp[kTxtpMomentumY]->text(), "-7");
  EXPECT_EQ(g.world.PlanetX[2], x);

  EXPECT_EQ(aimAt(g, 500, -1e6), ToolOutcome::kDone);
  EXPECT_EQ(g.world.MomentumX[2], kTypedMomentumLimit);
  EXPECT_EQ(g.world.MomentumY[2], -kTypedMomentumLimit);

  pauseOrResume(f);
  EXPECT_EQ(aimAt(g, 1, 1), ToolOutcome::kNotAvailable);
  EXPECT_EQ(dragTo(g, 2000, 2000), ToolOutcome::kNotAvailable);
  EXPECT_EQ(orbitSelected(g), ToolOutcome::kNotAvailable);
  EXPECT_EQ(addBodyAt(g, 2000, 2000), ToolOutcome::kNotAvailable);
  EXPECT_EQ(g.world.MomentumX[2], kTypedMomentumLimit);
  EXPECT_EQ(g.world.PlanetCount, 4);
}

TEST(FieldTools, AddReusesTheLowestPlanetOffElseGrowsTheCountUpToTheTables) {
  GameFixture f;
  Game& g = f.g;
  pausedSystem(f, 6);
  World& w = g.world;
  f.enter(*g.TXg[kTxgPlanetGravity], "0.05");
  w.PlanetOff[0] = 1;  // the sun is never reused
  w.PlanetOff[4] = 1;
  w.PlanetOff[2] = 1;
  const uint64_t draws = g.rng.draws();

  EXPECT_EQ(addBodyAt(g, 3000, 20000), ToolOutcome::kDone);
  EXPECT_EQ(g.rng.draws(), draws + 3);  // a colour, as "Go" draws one
  EXPECT_EQ(g.TXTOden->text(), "2");
  EXPECT_EQ(w.PlanetOff[2], 0);
  EXPECT_EQ(w.PlanetX[2], 3000);
  EXPECT_EQ(w.PlanetY[2], g.H() - kFieldBottomGap);
  EXPECT_EQ(w.MomentumX[2], 0);
  EXPECT_EQ(w.MomentumY[2], 0);
  EXPECT_EQ(w.PlanetGravity[2], 0.05);
  EXPECT_GE(w.PlanetRed[2], 50);
  EXPECT_LE(w.PlanetBlue[2], 249);
  EXPECT_EQ(g.Chon->caption(), "Planet ON");

  w.PlanetOff[4] = 0;
  EXPECT_EQ(addBodyAt(g, 3000, 3000), ToolOutcome::kDone);
  EXPECT_EQ(w.PlanetCount, 7);
  EXPECT_EQ(g.Qui->value(), 7);
  EXPECT_EQ(g.TXTOden->text(), "7");

  w.PlanetCount = kMaxBodies - 1;
  EXPECT_EQ(addBodyAt(g, 3000, 3000), ToolOutcome::kTableFull);
  EXPECT_EQ(w.PlanetCount, kMaxBodies - 1);
  EXPECT_EQ(g.TXTOden->text(), "7");
}

// A sun fixed at the centre, one light planet `radius` to its right, kicks and
// merging out of the way (one planet, "Bind" cleared).
void sunAndPlanet(GameFixture& f, double radius, const char* exponent) {
  Game& g = f.g;
  startSystem(f, 1);
  World& w = g.world;
  w.PlanetX[0] = 8947;
  w.PlanetY[0] = 6660;
  w.MomentumX[0] = w.MomentumY[0] = 0;
  w.PlanetGravity[0] = 100;
  w.PlanetX[1] = w.PlanetX[0] + radius;
  w.PlanetY[1] = w.PlanetY[0];
  w.MomentumX[1] = w.MomentumY[1] = 0;
  w.PlanetGravity[1] = 0.0001;
  ASSERT_EQ(g.CHsol->value(), 1);
  f.click(*g.Chbi);
  ASSERT_EQ(g.Chbi->value(), 0);
  f.enter(*g.TXg[kTxgExponent], exponent);
  pauseOrResume(f);
  ASSERT_EQ(pickAt(g, w.PlanetX[1], w.PlanetY[1]), ToolOutcome::kDone);
}

class FieldToolsOrbit : public ::testing::TestWithParam<const char*> {};

TEST_P(FieldToolsOrbit, ABodyOnOrbitAboutAFixedSunKeepsItsRadiusForARevolution) {
  GameFixture f;
  Game& g = f.g;
  const double radius = 3000;
  sunAndPlanet(f, radius, GetParam());
  World& w = g.world;
  ASSERT_EQ(orbitSelected(g), ToolOutcome::kDone);
  // At rest, it goes anticlockwise on the screen: up, where y grows downward.
  EXPECT_EQ(w.MomentumX[1], 0);
  ASSERT_LT(w.MomentumY[1], 0);
  const double speed = -w.MomentumY[1];
  const double pull = 10000 * 100 / std::pow(radius, std::stod(GetParam()));
  EXPECT_NEAR(speed, std::sqrt(pull * radius), 1e-9 * speed);

  pauseOrResume(f);
  const int period = static_cast<int>(std::ceil(2 * std::numbers::pi * radius / speed));
  double least = radius;
  double most = radius;
  double turned = 0;
  double angle = 0;
  for (int t = 0; t < period; ++t) {
    Ti_Timer(g);
    const double dx = w.PlanetX[1] - w.PlanetX[0];
    const double dy = w.PlanetY[1] - w.PlanetY[0];
    const double r = std::hypot(dx, dy);
    least = std::min(least, r);
    most = std::max(most, r);
    const double now = std::atan2(-dy, dx);
    turned += std::remainder(now - angle, 2 * std::numbers::pi);
    angle = now;
  }
  EXPECT_EQ(w.PlanetOff[1], 0);
  EXPECT_GT(least, radius * 0.98);
  EXPECT_LT(most, radius * 1.02);
  EXPECT_GT(turned, 2 * std::numbers::pi * 0.97);  // a whole revolution, anticlockwise
}

INSTANTIATE_TEST_SUITE_P(Exponents, FieldToolsOrbit, ::testing::Values("1.5", "2", "2.5"));

TEST(FieldTools, OrbitIsAboutTheStrongestPullRelativeToItsMomentumAndKeepsTheSense) {
  GameFixture f;
  Game& g = f.g;
  sunAndPlanet(f, 3000, "2");
  World& w = g.world;
  // A heavy planet close by pulls more than the sun; its momentum is the frame.
  w.PlanetCount = 2;
  g.Qui->setMax(2);
  w.PlanetX[2] = w.PlanetX[1];
  w.PlanetY[2] = w.PlanetY[1] - 400;
  w.PlanetGravity[2] = 5;
  w.MomentumX[2] = 3;
  w.MomentumY[2] = -1.5;
  w.MomentumX[1] = 10;  // turning clockwise on the screen about body 2
  ASSERT_EQ(orbitSelected(g), ToolOutcome::kDone);
  const double speed = std::sqrt(10000 * 5 / (400.0 * 400.0) * 400);
  EXPECT_NEAR(w.MomentumX[1], 3 + speed, 1e-9);
  EXPECT_NEAR(w.MomentumY[1], -1.5, 1e-9);

  // Nothing pulls a body alone in the tables: no edit.
  w.PlanetOff[0] = w.PlanetOff[2] = 1;
  const double before = w.MomentumX[1];
  EXPECT_EQ(orbitSelected(g), ToolOutcome::kNothingThere);
  EXPECT_EQ(w.MomentumX[1], before);
}

}  // namespace
}  // namespace velmora
