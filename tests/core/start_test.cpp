#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "create/create.h"
#include "create/placement.h"
#include "game_fixture.h"

namespace velmora {
namespace {

using testing::GameFixture;

// The panel is built on a window of the default size.
constexpr double kW = kDefaultWindowWidth;
constexpr double kH = kDefaultWindowHeight;

void expectAllIn(const World& w, const Table<double>& t, double lo, double hi, const char* what) {
  for (int i = 1; i <= w.PlanetCount; ++i) {
    EXPECT_GE(t[i], lo) << what << " of body " << i;
    EXPECT_LT(t[i], hi) << what << " of body " << i;
  }
}

TEST(Start, InitialPanelBuildsOneHundredFiftyPlanetsAroundTheSun) {
  GameFixture f;
  Game& g = f.g;
  f.click(*g.Command2);
  const World& w = g.world;

  EXPECT_EQ(g.TXn->text(), "150");  // "0" sorts before "150"
  EXPECT_EQ(w.PlanetCount, 150);
  EXPECT_EQ(w.PlanetX[0], std::floor(kW / 2));
  EXPECT_EQ(w.PlanetY[0], std::floor(kH / 2));
  EXPECT_EQ(w.PlanetRed[0], 255);
  EXPECT_EQ(w.PlanetGreen[0], 191);
  EXPECT_EQ(w.PlanetBlue[0], 128);
  EXPECT_EQ(w.PlanetType[0], 0);
  EXPECT_EQ(w.PlanetGravity[0], 100);
  EXPECT_EQ(w.MomentumX[0], 0);

  for (int i = 1; i <= 150; ++i) {
    for (float c : {w.PlanetRed[i], w.PlanetGreen[i], w.PlanetBlue[i]}) {
      EXPECT_GE(c, 50) << i;
      EXPECT_LE(c, 249) << i;
      EXPECT_EQ(c, std::floor(c)) << i;
    }
    EXPECT_EQ(w.PlanetGravity[i], 0.003) << i;
    EXPECT_EQ(w.PlanetType[i], 2) << i;
    const double d = std::hypot(w.PlanetX[i] - w.PlanetX[0], w.PlanetY[i] - w.PlanetY[0]);
    EXPECT_GE(d, 800) << i;  // four sun radii of 200
  }
  expectAllIn(w, w.PlanetX, 0.15 * kW, 0.85 * kW, "x");
  expectAllIn(w, w.PlanetY, 0.15 * kH, 0.85 * kH, "y");
  EXPECT_EQ(w.PlanetGravity[151], 0);  // nothing beyond the count

  EXPECT_EQ(w.SunRadius, 200);
  EXPECT_EQ(w.PlanetRadius, 6);
  EXPECT_EQ(w.BondRange, 5);
  EXPECT_EQ(w.ImpactJitter, 1);
  EXPECT_EQ(w.ImpactJitterSpan, 3);
  EXPECT_EQ(w.StartSpin, 10);
  EXPECT_EQ(w.StartSpinSpan, 21);
  EXPECT_EQ(w.StartSpinQuarter, 2);
  EXPECT_EQ(w.ClockText, "12:00:00");
  EXPECT_EQ(w.StartHour, 12);
}

TEST(Start, SwitchesToTheRunningLayoutAndStartsItsTimers) {
  GameFixture f;
  Game& g = f.g;
  f.click(*g.Command2);

  for (Control* c : {g.Picture1, g.PicA, g.Label11, g.Label7, g.Command6, g.Command2, g.La[14],
                     g.CHran, g.ImMoon, g.CDp[0], g.CDp[5]}) {
    EXPECT_FALSE(c->visible()) << c->id();
  }
  for (Control* c : {g.Command4, g.Command5, g.ImSun}) EXPECT_TRUE(c->visible()) << c->id();
  for (Control* c : {g.TXg[1], g.TXg[3], g.CHgr, g.TXran, g.TXw[0], g.TXw[1], g.TXw[2], g.TXn}) {
    EXPECT_FALSE(c->enabled()) << c->id();
  }
  for (Control* c : {g.Text1, g.Text2, g.TXg[0], g.TXg[2], g.TXTrange}) {
    EXPECT_TRUE(c->enabled()) << c->id();
  }
  EXPECT_EQ(g.Command5->left(), 240);
  EXPECT_EQ(g.ImSun->left(), std::floor(kW / 2) - 300);
  EXPECT_EQ(g.ImSun->top(), std::floor(kH / 2) - 300);

  EXPECT_FALSE(g.Timero->enabled());
  EXPECT_FALSE(g.Tr->enabled());
  EXPECT_TRUE(g.Ti->enabled());
  EXPECT_EQ(g.Ti->interval(), 15);
  EXPECT_TRUE(g.TiK->enabled());
  EXPECT_FALSE(g.Tiball->enabled());  // "Auto C" unchecked
}

TEST(Start, PlanetCountComesFromTheTextComparison) {
  struct Row {
    const char* n;
    const char* entry;
    int count;
    const char* nAfter;
  };
  const Row rows[] = {
      {"25", "150", 25, "25"},    // "25" sorts after "150"
      {"0", "150", 150, "150"},   // "0" sorts before it
      {"12", "120", 120, "120"},  // a proper prefix sorts first
      {"0", "5000", 999, "999"},  // the copy is bounded like the entry's own
      {"-30", "-30", 30, "-30"},  // equal texts: no copy; the count is absolute
  };
  for (const Row& row : rows) {
    GameFixture f;
    f.g.TXn->setText(row.n);
    f.g.TXw[0]->setText(row.entry);
    Command2_Click(f.g);
    EXPECT_EQ(f.g.world.PlanetCount, row.count) << row.n << " vs " << row.entry;
    EXPECT_EQ(f.g.TXn->text(), row.nAfter) << row.n << " vs " << row.entry;
  }
}

TEST(Start, SunAloneTakesNoDraws) {
  GameFixture f;
  f.enter(*f.g.TXw[0], "0");
  f.click(*f.g.Command2);
  EXPECT_EQ(f.g.world.PlanetCount, 0);
  EXPECT_EQ(f.g.rng.draws(), 0u);
  EXPECT_EQ(f.g.world.PlanetRed[0], 255);
  EXPECT_EQ(f.g.world.PlanetX[0], std::floor(kW / 2));
}

TEST(Start, MomentaWithAndWithoutSpin) {
  for (bool spin : {false, true}) {
    GameFixture f;
    if (spin) f.click(*f.g.CHgod);
    f.click(*f.g.Command2);
    const World& w = f.g.world;
    const double lo = spin ? 2 : -10;  // spin: r * 10 + 2; free: r * 21 - 10
    const double hi = spin ? 12 : 11;
    expectAllIn(w, w.MomentumX, lo, hi, "momentum x");
    expectAllIn(w, w.MomentumY, lo, hi, "momentum y");
  }
}

TEST(Start, SpinDebrisFillsItsRectangle) {
  struct Row {
    const char* spread;
    double x0, x1, y0, y1;  // as fractions of W and H
  };
  const Row rows[] = {{"0.5", 0.45, 0.95, 0, 0.5}, {"0.01", 0.695, 0.705, 0.245, 0.255}};
  for (const Row& row : rows) {
    GameFixture f;
    f.click(*f.g.CHgod);
    f.enter(*f.g.TXTrange, row.spread);
    f.click(*f.g.Command2);
    const World& w = f.g.world;
    ASSERT_EQ(w.PlanetCount, 150);
    // One group of four draws per planet, no distance test.
    EXPECT_EQ(f.g.rng.draws(), 150u * 3 + 150u * 4) << row.spread;
    expectAllIn(w, w.PlanetX, row.x0 * kW, row.x1 * kW, row.spread);
    expectAllIn(w, w.PlanetY, row.y0 * kH, row.y1 * kH, row.spread);
  }
}

TEST(Start, RandomGravityAndTypes) {
  GameFixture f;
  Game& g = f.g;
  f.click(*g.CHgr);  // "0.1" sorts after "0.003": the maximum stays
  ASSERT_EQ(g.TXg[3]->text(), "0.1");
  f.click(*g.Command2);
  const World& w = g.world;
  bool sawJupiter = false;
  for (int i = 1; i <= w.PlanetCount; ++i) {
    EXPECT_GE(w.PlanetGravity[i], 0.003) << i;
    EXPECT_LE(w.PlanetGravity[i], 0.1) << i;
    EXPECT_TRUE(w.PlanetType[i] == 1 || w.PlanetType[i] == 2) << i;
    EXPECT_EQ(w.PlanetType[i], w.PlanetGravity[i] > 0.03 ? 1 : 2) << i;
    sawJupiter |= w.PlanetType[i] == 1;
  }
  EXPECT_TRUE(sawJupiter);
}

TEST(Start, TypeBoundsAreStrictLowerBounds) {
  EXPECT_EQ(planetTypeOf(0.0300001), 1);
  EXPECT_EQ(planetTypeOf(0.03), 2);
  EXPECT_EQ(planetTypeOf(0.002), 3);
  EXPECT_EQ(planetTypeOf(0.0001), 4);
  EXPECT_EQ(planetTypeOf(-5), 4);

  GameFixture f;
  f.enter(*f.g.TXg[1], "0.03");
  f.click(*f.g.Command2);
  EXPECT_EQ(f.g.world.PlanetType[1], 2);
  EXPECT_EQ(f.g.world.PlanetType[150], 2);
}

struct Tables {
  World w;
  uint64_t draws;
};

Tables startFrozen(const std::string& seed, bool spin) {
  GameFixture f;
  f.click(*f.g.CHran);
  f.enter(*f.g.TXran, seed);
  f.wait(100);  // the ticker is stopped: the seed stays put
  EXPECT_EQ(f.g.TXran->text(), seed);
  if (spin) f.click(*f.g.CHgod);
  f.click(*f.g.CHgr);
  f.click(*f.g.Command2);
  return {f.g.world, f.g.rng.draws()};
}

bool sameTables(const World& a, const World& b) {
  return a.PlanetX == b.PlanetX && a.PlanetY == b.PlanetY && a.MomentumX == b.MomentumX &&
         a.MomentumY == b.MomentumY && a.PlanetGravity == b.PlanetGravity &&
         a.PlanetType == b.PlanetType && a.PlanetRed == b.PlanetRed &&
         a.PlanetGreen == b.PlanetGreen && a.PlanetBlue == b.PlanetBlue;
}

TEST(Start, FrozenSeedRepeatsTheSystem) {
  for (bool spin : {false, true}) {
    for (const char* seed : {"777", "-12.5"}) {
      const Tables a = startFrozen(seed, spin);
      const Tables b = startFrozen(seed, spin);
      EXPECT_TRUE(sameTables(a.w, b.w)) << seed << " spin " << spin;
      EXPECT_EQ(a.draws, b.draws) << seed;
    }
    EXPECT_FALSE(sameTables(startFrozen("777", spin).w, startFrozen("778", spin).w));
  }
}

TEST(Start, GoRunsOncePerRun) {
  GameFixture f;
  f.click(*f.g.Command2);
  const World first = f.g.world;
  const uint64_t draws = f.g.rng.draws();
  f.g.TXn->setEnabled(true);
  f.g.TXw[0]->setText("900");
  Command2_Click(f.g);
  EXPECT_EQ(f.g.rng.draws(), draws);
  EXPECT_TRUE(sameTables(first, f.g.world));
  EXPECT_EQ(f.g.world.PlanetCount, 150);
}

TEST(Start, RefusesAPanelItCannotUseAndStartsOnceItIsFixed) {
  struct Row {
    Control* Game::*field;
    const char* bad;
    const char* good;
  };
  const Row rows[] = {
      {&Game::TXsrad, "20x", "200"}, {&Game::TXsrad, "40000", "200"}, {&Game::TXt, "0", "15"},
      {&Game::TXt, "-5", "15"},      {&Game::TXt, "65536", "65535"},
  };
  for (const Row& row : rows) {
    GameFixture f;
    Game& g = f.g;
    Control& field = *(g.*row.field);
    field.setText(row.bad);
    f.click(*g.Command2);
    EXPECT_NE(g.Label11->caption().find("press Go again"), std::string::npos) << row.bad;
    EXPECT_TRUE(g.Label11->visible());
    EXPECT_TRUE(g.Command2->visible());
    EXPECT_TRUE(g.Timero->enabled());
    EXPECT_TRUE(g.Tr->enabled());
    EXPECT_FALSE(g.Ti->enabled());
    EXPECT_EQ(g.TXn->text(), "0");
    EXPECT_EQ(g.world.PlanetCount, 0);
    EXPECT_EQ(g.rng.draws(), 0u);

    field.setText(row.good);
    f.click(*g.Command2);
    EXPECT_TRUE(g.Ti->enabled()) << row.good;
    EXPECT_FALSE(g.Command2->visible());
  }
}

TEST(Start, RefusesASpinWhoseSpanDoesNotFit) {
  GameFixture f;
  f.g.Text2->setText("16384");  // 2 x 16384 + 1 leaves 16 bits
  f.click(*f.g.Command2);
  EXPECT_FALSE(f.g.Ti->enabled());
  f.g.Text2->setText("16383");
  f.click(*f.g.Command2);
  EXPECT_EQ(f.g.world.StartSpinSpan, 32767);
}

TEST(Start, HopelessFreePlacementEndsAfterTheAttemptCap) {
  GameFixture f;
  f.enter(*f.g.TXw[0], "2");
  f.g.TXsrad->setText("20000");  // the exclusion covers the whole window
  f.click(*f.g.Command2);
  EXPECT_EQ(f.g.rng.draws(), 2u * 3 + 2u * 4 * kMaxPlacementAttempts);
  EXPECT_TRUE(f.g.Ti->enabled());
}

TEST(Start, ArmsAutomaticClearingFromTheClearTime) {
  GameFixture f;
  Game& g = f.g;
  f.click(*g.CHr);
  f.g.TXref->setText("2.5");  // typed, not yet applied
  ASSERT_EQ(g.Tiball->interval(), 5000);
  f.click(*g.Command2);
  EXPECT_TRUE(g.Tiball->enabled());
  EXPECT_EQ(g.Tiball->interval(), 2500);

  GameFixture tooLong;
  tooLong.click(*tooLong.g.CHr);
  tooLong.g.TXref->setText("70");  // 70000 ms: no timer holds it
  tooLong.click(*tooLong.g.Command2);
  EXPECT_EQ(tooLong.g.Tiball->interval(), 5000);
  EXPECT_TRUE(tooLong.g.Tiball->enabled());
}

TEST(Start, TickIntervalAndStartTimeComeFromThePanel) {
  GameFixture f;
  f.clock.setTimeOfDay(23, 59, 58);
  f.g.TXt->setText("40.5");  // half to even: 40
  f.click(*f.g.Command2);
  EXPECT_EQ(f.g.Ti->interval(), 40);
  EXPECT_EQ(f.g.world.ClockText, "23:59:58");
  EXPECT_EQ(f.g.world.StartHour, 23);
  EXPECT_EQ(f.g.world.StartMinute, 59);
  EXPECT_EQ(f.g.world.StartSecond, 58);
}

}  // namespace
}  // namespace velmora
