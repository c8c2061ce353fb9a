#include <gtest/gtest.h>

#include "game_fixture.h"

namespace velmora {
namespace {

using testing::GameFixture;

constexpr Rgb kLight{191, 255, 127};
constexpr Rgb kDark{63, 144, 0};

TEST(GoBlink, FitsTheDefaultSpinOnItsFirstTwoTicks) {
  GameFixture f;
  Game& g = f.g;
  g.resize(18000, 13320);
  f.type(*g.Text2, "3");
  f.wait(250);
  EXPECT_EQ(g.Text2->text(), "11");  // floor(200000 / 18000)
  EXPECT_EQ(g.world.StartSpin, 0);   // Text2's handler does not run
  g.resize(30000, 13320);
  f.g.Text2->setText("4");
  f.wait(250);
  EXPECT_EQ(g.Text2->text(), "6");
  f.g.Text2->setText("4");
  f.wait(250);
  EXPECT_EQ(g.Text2->text(), "4");  // from the third tick on the text is the player's
}

TEST(GoBlink, LightEveryTenthTickAndStopsAfterOneThousand) {
  GameFixture f;
  Game& g = f.g;
  for (int tick = 1; tick <= 1001; ++tick) {
    f.wait(250);
    ASSERT_EQ(g.world.GoBlinkTicks, tick);
    ASSERT_EQ(g.Command2->backColor(), tick % 10 == 0 ? kLight : kDark) << tick;
  }
  EXPECT_FALSE(g.Timero->enabled());
  f.wait(2500);
  EXPECT_EQ(g.world.GoBlinkTicks, 1001);
  EXPECT_EQ(g.Command2->backColor(), kDark);
}

TEST(GoBlink, StartingASystemStopsIt) {
  GameFixture f;
  f.wait(500);
  f.click(*f.g.Command2);
  f.wait(2500);
  EXPECT_EQ(f.g.world.GoBlinkTicks, 2);
}

TEST(GoBlink, ARefusedEntryFallsBackToTheFittedDefault) {
  GameFixture f;
  f.wait(500);
  ASSERT_EQ(f.g.Text2->text(), "11");  // the default 17895-twip window
  f.enter(*f.g.Text2, "99999");
  EXPECT_EQ(f.g.Text2->text(), "11");
}

}  // namespace
}  // namespace velmora
