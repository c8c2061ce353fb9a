#include <gtest/gtest.h>

#include "editor_fixture.h"

namespace velmora {
namespace {

using testing::GameFixture;
using testing::pauseOrResume;
using testing::startSystem;

class EditorEditing : public ::testing::Test {
 protected:
  void SetUp() override {
    startSystem(f, 10);
    pauseOrResume(f);
    f.scroll(*g.Qui, 4);
  }
  void tab(int field) { f.leave(*g.TXTp[field]); }
  GameFixture f;
  Game& g = f.g;
  World& w = f.g.world;
};

TEST_F(EditorEditing, NegativePositionIsCorrectedThenStoredAtTheNextTab) {
  f.type(*g.TXTp[0], "-5");
  tab(0);
  EXPECT_EQ(g.TXTp[0]->text(), "0");
  EXPECT_EQ(w.PlanetX[4], 2149);
  tab(0);
  EXPECT_EQ(w.PlanetX[4], 0);
}

TEST_F(EditorEditing, TooLargeMomentumIsCorrectedAndNotStored) {
  f.type(*g.TXTp[3], "250");
  tab(3);
  EXPECT_EQ(g.TXTp[3]->text(), "200");
  EXPECT_EQ(w.MomentumY[4], 1.75);
}

TEST_F(EditorEditing, OneCorrectionPerTabInTheOrderOfTheChecks) {
  g.TXTp[1]->setText("-1");
  g.TXTp[2]->setText("300");
  tab(2);
  EXPECT_EQ(g.TXTp[1]->text(), "0");
  EXPECT_EQ(g.TXTp[2]->text(), "300");
  tab(2);
  EXPECT_EQ(g.TXTp[2]->text(), "200");
  EXPECT_EQ(w.PlanetY[4], 1586);
  EXPECT_EQ(w.MomentumX[4], 1.125);
  tab(2);
  EXPECT_EQ(w.PlanetY[4], 0);
  EXPECT_EQ(w.MomentumX[4], 200);
}

TEST_F(EditorEditing, WidthIsCheckedAtSinglePrecision) {
  f.type(*g.TXTp[0], "17895.0004");  // the same single as 17895
  tab(0);
  EXPECT_EQ(w.PlanetX[4], 17895.0004);
  f.type(*g.TXTp[0], "17895.01");
  tab(0);
  EXPECT_EQ(g.TXTp[0]->text(), "17895");
  EXPECT_EQ(w.PlanetX[4], 17895.0004);
}

TEST_F(EditorEditing, TypedGravityStoresAndRetypesTheBody) {
  f.type(*g.TXTp[4], "0.05");
  tab(4);
  EXPECT_EQ(w.PlanetGravity[4], 0.05);
  EXPECT_EQ(w.PlanetType[4], 2);
  EXPECT_EQ(g.TxTyp->text(), "2");
}

TEST_F(EditorEditing, IncompleteNumbersAreNeverStored) {
  g.TXTp[0]->setText("3000");
  g.TXTp[4]->setText("0.5x");
  tab(4);
  EXPECT_EQ(w.PlanetX[4], 2149);
  EXPECT_EQ(w.PlanetGravity[4], 0.002);
  EXPECT_EQ(g.TXTp[0]->text(), "2149");
  EXPECT_EQ(g.TXTp[4]->text(), "0.002");

  f.type(*g.TXTOden, "4 ");  // blanks around a number are still the number
  f.type(*g.TXTp[0], "3000");
  tab(0);
  EXPECT_EQ(w.PlanetX[4], 3000);

  f.type(*g.TXTOden, "4b");
  f.type(*g.TXTp[0], "3500");
  tab(0);
  EXPECT_EQ(w.PlanetX[4], 3000);
  EXPECT_EQ(g.TXTp[0]->text(), "3000");
  f.click(*g.Chon);
  EXPECT_EQ(w.PlanetOff[4], 0);
  EXPECT_EQ(g.Chon->value(), 0);
}

TEST_F(EditorEditing, ScrollBarsStoreAtOnceInScrollBarModeOnly) {
  f.click(*g.Opadd[1]);
  w.PlanetX[4] = 9999.5;  // differ from the fields, which are all written
  w.PlanetGravity[4] = 0.7;
  EXPECT_TRUE(g.Hsp[2]->visible());
  EXPECT_TRUE(g.TXTp[2]->locked());
  EXPECT_FALSE(g.TXTp[4]->locked());
  EXPECT_EQ(g.Hsp[0]->value(), 2149);
  f.scroll(*g.Hsp[2], 37);
  EXPECT_EQ(w.MomentumX[4], 37);
  EXPECT_EQ(g.TXTp[2]->text(), "37");
  EXPECT_EQ(w.PlanetX[4], 2149);
  EXPECT_EQ(w.PlanetGravity[4], 0.002);

  w.PlanetX[6] = 1234.6;
  f.scroll(*g.Qui, 6);
  EXPECT_EQ(w.PlanetX[6], 1235);
  EXPECT_EQ(g.Hsp[0]->value(), 1235);

  f.click(*g.Opadd[0]);
  EXPECT_FALSE(g.Hsp[2]->visible());
  EXPECT_FALSE(g.TXTp[2]->locked());
  w.PlanetX[7] = 1500.4;
  f.scroll(*g.Qui, 7);
  EXPECT_EQ(g.Hsp[0]->value(), 1500);
  EXPECT_EQ(w.PlanetX[7], 1500.4);
}

TEST_F(EditorEditing, PositionBeyondItsBarIsShownClampedAndNotStored) {
  f.click(*g.Opadd[1]);
  w.PlanetX[5] = 20000.25;
  w.PlanetY[5] = -50;
  f.scroll(*g.Qui, 5);
  EXPECT_EQ(g.Hsp[0]->value(), kDefaultWindowWidth);
  EXPECT_EQ(g.Hsp[1]->value(), 0);
  EXPECT_EQ(w.PlanetX[5], 20000.25);
  EXPECT_EQ(w.PlanetY[5], -50);
}

TEST_F(EditorEditing, ChonSwitchesTheSunOffAndOn) {
  f.scroll(*g.Qui, 0);
  ASSERT_EQ(g.LaVida->caption(), " 0 dead, alive 11");
  f.click(*g.Chon);
  EXPECT_EQ(w.PlanetOff[0], 1);
  EXPECT_EQ(g.Chon->caption(), "Planet OFF");
  EXPECT_EQ(g.Chon->foreColor(), (Rgb{191, 96, 0}));
  EXPECT_EQ(g.LaVida->caption(), " 1 dead, alive 10");
  f.click(*g.Chon);
  EXPECT_EQ(w.PlanetOff[0], 0);
  EXPECT_EQ(g.Chon->caption(), "Planet ON");
  EXPECT_EQ(g.Chon->foreColor(), (Rgb{128, 255, 191}));
  EXPECT_EQ(g.LaVida->caption(), " 0 dead, alive 11");
}

}  // namespace
}  // namespace velmora
