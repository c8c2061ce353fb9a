#include <gtest/gtest.h>

#include "game_fixture.h"

namespace velmora {
namespace {

using testing::GameFixture;

TEST(PanelOptions, AutoClearPeriodFromTheClearTime) {
  struct Row {
    const char* seconds;
    int ms;
  };
  for (const Row& row : {Row{"5", 5000}, Row{"2.5", 2500}, Row{"0.3", 300}, Row{"0", 0}, Row{"", 0},
                         Row{"x", 0}, Row{"65.535", 65535}}) {
    GameFixture f;
    f.g.TXref->setText(row.seconds);
    f.click(*f.g.CHr);
    EXPECT_TRUE(f.g.Tiball->enabled()) << row.seconds;
    EXPECT_EQ(f.g.Tiball->interval(), row.ms) << row.seconds;
    EXPECT_TRUE(f.g.TXref->visible());
  }
}

TEST(PanelOptions, AClearTimeNoTimerHoldsKeepsThePreviousPeriod) {
  GameFixture f;
  Game& g = f.g;
  f.click(*g.CHr);
  for (const char* seconds : {"70", "-1", "1E+300"}) {
    f.enter(*g.TXref, seconds);
    EXPECT_EQ(g.Tiball->interval(), 5000) << seconds;
    EXPECT_TRUE(g.Tiball->enabled());
  }
}

TEST(PanelOptions, UncheckingAutoClearHidesTheTimeAndStopsTheTimer) {
  GameFixture f;
  Game& g = f.g;
  f.click(*g.CHr);
  f.click(*g.CHr);
  EXPECT_FALSE(g.TXref->visible());
  EXPECT_FALSE(g.Tiball->enabled());
  f.enter(*g.TXref, "2");  // unchecked: nothing happens
  EXPECT_FALSE(g.Tiball->enabled());
  EXPECT_EQ(g.Tiball->interval(), 5000);
}

TEST(PanelOptions, ClearTimeLeavingFocusRestartsThePeriod) {
  GameFixture f;
  Game& g = f.g;
  f.click(*g.CHr);
  f.wait(4000);
  f.enter(*g.TXref, "5");  // same period, fresh start
  EXPECT_EQ(g.Tiball->dueMs(), f.clock.nowMs() + 5000);
}

TEST(PanelOptions, FrozenSeedStopsTheTickerAndKeepsATypedSeed) {
  GameFixture f;
  Game& g = f.g;
  f.click(*g.CHran);
  EXPECT_FALSE(g.Tr->enabled());
  f.enter(*g.TXran, "1234");
  f.wait(150);
  EXPECT_EQ(g.TXran->text(), "1234");
  f.click(*g.CHran);
  EXPECT_TRUE(g.Tr->enabled());
  f.wait(15);
  EXPECT_NE(g.TXran->text(), "1234");
}

TEST(PanelOptions, SeedFieldBounds) {
  struct Row {
    const char* typed;
    const char* text;
  };
  for (const Row& row : {Row{"-40000", "-32767"}, Row{"40000", "32767"}, Row{"-32767", "-32767"},
                         Row{"-32768", "-32767"}, Row{"12.5", "12.5"}}) {
    GameFixture f;
    f.click(*f.g.CHran);
    f.enter(*f.g.TXran, row.typed);
    EXPECT_EQ(f.g.TXran->text(), row.text) << row.typed;
  }
}

TEST(PanelOptions, SunPictureFollowsTheSunWhenChecked) {
  GameFixture f;
  Game& g = f.g;
  // Load checked the box with the tables still zero: centred on the corner.
  EXPECT_TRUE(g.ImSun->visible());
  EXPECT_EQ(g.ImSun->left(), -300);
  EXPECT_EQ(g.ImSun->top(), -300);

  f.click(*g.CHsol);
  EXPECT_FALSE(g.ImSun->visible());
  g.world.PlanetX[0] = 5000.5;
  g.world.PlanetY[0] = 4000;
  EXPECT_EQ(g.ImSun->left(), -300);  // unchecking hides only
  f.click(*g.CHsol);
  EXPECT_TRUE(g.ImSun->visible());
  EXPECT_EQ(g.ImSun->left(), 4700);  // 4700.5 to even
  EXPECT_EQ(g.ImSun->top(), 3700);
}

TEST(PanelOptions, LoadRespectsAFrozenSeedBox) {
  GameFixture f(false);
  f.g.CHran->setValue(1);
  f.g.Tr->setEnabled(true);
  f.g.load();
  EXPECT_FALSE(f.g.Tr->enabled());
  EXPECT_TRUE(f.g.Och[6]->selected());
  EXPECT_EQ(f.g.world.BorderMomentumDivisor, 1);
}

}  // namespace
}  // namespace velmora
