#include <gtest/gtest.h>

#include "editor/editor_numbers.h"
#include "editor_fixture.h"

namespace velmora {
namespace {

using testing::GameFixture;
using testing::pauseOrResume;
using testing::startSystem;

class EditorSelection : public ::testing::Test {
 protected:
  void SetUp() override {
    startSystem(f, 10);
    pauseOrResume(f);
  }
  GameFixture f;
  Game& g = f.g;
  World& w = f.g.world;
};

TEST_F(EditorSelection, TypeFromGravityAtTheThresholds) {
  const struct {
    double gravity;
    double type;
  } rows[] = {{0.1, 2}, {0.1000001, 1}, {0.02, 3}, {0.003, 4}, {0.0031, 3}};
  for (const auto& row : rows) {
    w.PlanetGravity[5] = row.gravity;
    f.scroll(*g.Qui, 4);
    f.scroll(*g.Qui, 5);
    EXPECT_EQ(w.PlanetType[5], row.type) << row.gravity;
    EXPECT_EQ(g.TxTyp->text(), std::to_string(static_cast<int>(row.type))) << row.gravity;
    EXPECT_TRUE(g.ImSun->visible());
  }
  w.PlanetGravity[0] = 0.0001;
  f.scroll(*g.Qui, 0);
  EXPECT_EQ(w.PlanetType[0], 0);
  EXPECT_FALSE(g.ImSun->visible());
}

TEST_F(EditorSelection, ShowingClampsIntoTheTablesAndCentresTheMarker) {
  w.MomentumX[6] = 1500;
  w.MomentumY[6] = -1000.5;
  w.PlanetY[6] = -40000;
  w.PlanetX[6] = 40000;
  f.scroll(*g.Qui, 6);
  EXPECT_EQ(w.MomentumX[6], 999);
  EXPECT_EQ(w.MomentumY[6], -999);
  EXPECT_EQ(w.PlanetY[6], -32768);
  EXPECT_EQ(w.PlanetX[6], 32768);
  EXPECT_EQ(g.TXTp[2]->text(), "999");
  EXPECT_EQ(g.TXTp[1]->text(), "-32768");
  EXPECT_EQ(g.Shark->left(), 32768 - 225);
  EXPECT_EQ(g.Shark->top(), -32768 - 225);
  EXPECT_TRUE(g.Shark->visible());
}

TEST_F(EditorSelection, LiveOnlySkipsBodiesThatAreOff) {
  w.PlanetOff[4] = w.PlanetOff[5] = 1;
  f.scroll(*g.Qui, 3);
  f.scroll(*g.Qui, 4);
  EXPECT_EQ(g.Qui->value(), 6);
  EXPECT_EQ(g.TXTOden->text(), "6");
  EXPECT_EQ(g.Chon->value(), 0);

  w.PlanetOff[9] = 1;
  f.scroll(*g.Qui, 9);  // body 10 lies beyond the skipping's cycle
  EXPECT_EQ(g.Qui->value(), 0);
  EXPECT_EQ(g.TXTOden->text(), "0");

  g.Chalive->setValue(0);
  f.scroll(*g.Qui, 4);
  EXPECT_EQ(g.TXTOden->text(), "4");
  EXPECT_EQ(g.Chon->value(), 1);
}

TEST_F(EditorSelection, LiveOnlyWithEveryBodyOffStaysWhereItBegan) {
  for (int i = 0; i <= 10; ++i) w.PlanetOff[i] = 1;
  w.PlanetType[2] = 99;
  f.scroll(*g.Qui, 3);
  EXPECT_EQ(g.Qui->value(), 3);
  EXPECT_EQ(g.TXTOden->text(), "3");
  EXPECT_EQ(w.PlanetType[2], 4);  // the pass went round through body 2
  EXPECT_EQ(g.LaVida->caption(), " 11 dead, alive 0");

  f.scroll(*g.Qui, 10);  // outside the cycle: round it once, then back
  EXPECT_EQ(g.Qui->value(), 10);
  EXPECT_EQ(g.TXTOden->text(), "10");
}

TEST_F(EditorSelection, TypedBodyNumberShownThroughTheLabel) {
  f.scroll(*g.Qui, 3);
  w.PlanetX[12] = 2447;
  f.type(*g.TXTOden, "12");
  f.click(*g.La[0]);
  EXPECT_EQ(g.TXTp[0]->text(), "2447");
  EXPECT_EQ(g.Qui->value(), 3);

  for (const char* outside : {"1000", "-1"}) {
    f.type(*g.TXTOden, outside);
    f.click(*g.La[0]);
    EXPECT_EQ(g.TXTp[0]->text(), "2447") << outside;
  }
}

// Before the first pause the editor has shown no body: a number outside the tables
// then shows nothing, where showing body 0 would clamp the sun's momentum.
TEST(EditorBeforeAnyPause, NoBodyIsShownYet) {
  GameFixture f;
  startSystem(f, 10);
  World& w = f.g.world;
  w.MomentumX[0] = 1500;
  const std::string shownX = f.g.TXTp[0]->text();
  f.type(*f.g.TXTOden, "1000");
  f.click(*f.g.La[0]);
  EXPECT_EQ(w.MomentumX[0], 1500);
  EXPECT_EQ(f.g.TXTp[0]->text(), shownX);
  EXPECT_EQ(displayedBody(f.g), std::nullopt);
}

TEST_F(EditorSelection, CoreAndRadiusLabelsCopyBetweenFields) {
  // "Core" sets the bonding range's text from the radius; "Radius" the other way.
  g.Text1->setText("8");
  g.Text5->setText("3");
  f.click(*g.La[2]);
  EXPECT_EQ(g.Text5->text(), "8");
  EXPECT_EQ(g.Text1->text(), "8");
  g.Text5->setText("11");
  f.click(*g.La[3]);
  EXPECT_EQ(g.Text1->text(), "11");
  f.click(*g.La[1]);
  f.click(*g.La[4]);
  EXPECT_EQ(g.Text1->text(), "11");
  EXPECT_EQ(g.Text5->text(), "11");
}

TEST_F(EditorSelection, MarkerBlinksBetweenTheBodyColourAndWhite) {
  w.PlanetRed[7] = 255;
  w.PlanetGreen[7] = 1;
  w.PlanetBlue[7] = 3;
  w.PlanetGravity[7] = 0.05;
  f.scroll(*g.Qui, 7);
  const Rgb white{255, 255, 255};
  const Rgb black{0, 0, 0};
  const Rgb body{255, 1, 3};
  const Rgb half{128, 0, 2};  // 127.5, 0.5 and 1.5 round to even
  bool sawBody = false;
  bool sawWhite = false;
  for (int tick = 0; tick < 4; ++tick) {
    f.wait(500);
    const Rgb border = g.Shark->borderColor();
    EXPECT_TRUE(border == white || border == body);
    EXPECT_EQ(g.Shark->fillColor(), border == body ? black : half);
    sawBody = sawBody || border == body;
    sawWhite = sawWhite || border == white;
  }
  EXPECT_TRUE(sawBody && sawWhite);
  EXPECT_EQ(g.TxTyp->foreColor(), (Rgb{96, 191, 255}));
}

}  // namespace
}  // namespace velmora
