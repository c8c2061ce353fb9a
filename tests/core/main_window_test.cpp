#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/engine_events.h"
#include "game_fixture.h"

namespace velmora {
namespace {

using testing::GameFixture;

TEST(MainWindow, StartUpStatesOfTheControls) {
  GameFixture f;
  Game& g = f.g;
  EXPECT_EQ(g.fs7.caption(), "Quorrel 3 : Velmora");
  EXPECT_EQ(g.Text1->text(), "6");
  EXPECT_EQ(g.TXw[0]->text(), "150");
  EXPECT_EQ(g.Chbi->value(), 1);
  EXPECT_EQ(g.Chon->value(), 2);
  EXPECT_EQ(g.Chon->caption(), "Planet off");
  EXPECT_TRUE(g.Tr->enabled());
  EXPECT_TRUE(g.Timero->enabled());
  EXPECT_FALSE(g.Ti->enabled());
  EXPECT_FALSE(g.TiK->enabled());
  EXPECT_FALSE(g.TiF->enabled());
  EXPECT_FALSE(g.Tiball->enabled());
  EXPECT_EQ(g.Ti->interval(), 15);
  EXPECT_EQ(g.TiK->interval(), 30);
  EXPECT_EQ(g.TiF->interval(), 500);
  EXPECT_EQ(g.Tiball->interval(), 1000);
  EXPECT_EQ(g.Timero->interval(), 250);
  EXPECT_FALSE(g.Command5->visible());
  EXPECT_FALSE(g.Frame2->visible());
  EXPECT_FALSE(g.TXn->visible());
  EXPECT_TRUE(g.TXw[0]->visible());
  EXPECT_EQ(g.La[0]->caption(), "Planet        #");
  EXPECT_EQ(g.Och[5]->caption(), "4-dim");
}

TEST(MainWindow, LoadChecksTheSunAndChoosesDie) {
  GameFixture f;
  EXPECT_EQ(f.g.CHsol->value(), 1);
  for (int i = 0; i < kBorderOptionCount; ++i) EXPECT_EQ(f.g.Och[i]->selected(), i == kDie) << i;
  EXPECT_EQ(f.g.world.BorderMomentumDivisor, 1);
}

// A click on each border option makes it the one selected and the rule the next
// tick applies: body 1 leaves on the left.
TEST(MainWindow, TheClickedBorderOptionIsTheRuleOfTheNextTick) {
  struct After {
    double x, mx;
    int16_t off;
  };
  GameFixture f;
  Game& g = f.g;
  const double right = g.W();
  const std::pair<BorderOption, After> rules[] = {
      {kSlomo, {right, -5, 0}}, {kWall, {930, 10, 0}}, {kWrap, {right, -10, 0}},
      {kComet, {930, 5, 0}},    {kDie, {900, -10, 1}},
  };
  for (const auto& [option, after] : rules) {
    f.click(*g.Och[option]);
    ASSERT_EQ(selectedBorder(g), option);
    World& w = g.world;
    w.PlanetCount = 1;
    w.PlanetX[0] = 5000;
    w.PlanetY[0] = 5000;
    w.PlanetX[1] = 905;
    w.PlanetY[1] = 5000;
    w.MomentumX[1] = -10;
    w.PlanetOff[1] = 0;
    w.PlanetGravity[0] = w.PlanetGravity[1] = 0;
    Ti_Timer(g);
    EXPECT_EQ(w.PlanetX[1], after.x) << option;
    EXPECT_EQ(w.MomentumX[1], after.mx) << option;
    EXPECT_EQ(w.PlanetOff[1], after.off) << option;
  }
  for (int i = 0; i < kBorderOptionCount; ++i) {
    f.click(*g.Och[i]);
    EXPECT_EQ(selectedBorder(g), i);
  }
}

// A tip says what the rule does: "die" switches the body off where it crossed and
// brings it back nowhere.
TEST(MainWindow, EveryBorderOptionHasACaptionAndATrueTip) {
  GameFixture f;
  for (int i = 0; i < kBorderOptionCount; ++i) {
    EXPECT_FALSE(f.g.Och[i]->caption().empty()) << i;
    EXPECT_FALSE(f.g.Och[i]->toolTip().empty()) << i;
  }
  const std::string& die = f.g.Och[kDie]->toolTip();
  for (const char* promise : {"Re-appear", "corner", "momentum"}) {
    EXPECT_EQ(die.find(promise), std::string::npos) << die;
  }
  EXPECT_NE(die.find("dies where it leaves the screen"), std::string::npos) << die;
}

TEST(MainWindow, ClearWipesTheSurfaceAndNothingElse) {
  GameFixture f;
  Game& g = f.g;
  g.world.PlanetX[3] = 1234.5;
  g.surface.plot(5000, 5000, {200, 100, 50});
  ASSERT_NE(g.surface.pixel((5000 - 900) / 15, 5000 / 15), Surface::pack({0, 0, 0}));
  f.click(*g.Command4);
  EXPECT_EQ(g.surface.pixel((5000 - 900) / 15, 5000 / 15), Surface::pack({0, 0, 0}));
  EXPECT_EQ(g.world.PlanetX[3], 1234.5);
}

TEST(MainWindow, SeedTickerCountsAndWraps) {
  GameFixture f;
  f.wait(45);
  EXPECT_EQ(f.g.TXran->text(), "3");
  f.g.world.SeedCounter = 31999;
  f.wait(45);
  EXPECT_EQ(f.g.TXran->text(), "-31999");
}

}  // namespace
}  // namespace velmora

namespace velmora {
namespace {

TEST(MainWindow, EditorModeOptionsShowWithTheirFrame) {
  testing::GameFixture f;
  Game& g = f.g;
  EXPECT_FALSE(g.Opadd[0]->available());
  g.Frame2->setVisible(true);
  EXPECT_TRUE(g.Opadd[0]->available());
  EXPECT_TRUE(g.Opadd[1]->available());
  g.Frame2->setEnabled(false);
  EXPECT_FALSE(g.Opadd[1]->available());
}

// Each caption of the editor stands on the row of the field whose value it names,
// the one the field's tip describes.
TEST(MainWindow, EachEditorCaptionStandsBesideTheFieldItNames) {
  GameFixture f;
  const Game& g = f.g;
  const std::pair<std::string, std::string> named[] = {{"Horizontal Position", "X"},
                                                       {"Vertical Position", "Y"},
                                                       {"Horizontal Momentum", "Xm"},
                                                       {"Vertical Momentum", "Ym"},
                                                       {"Gravity of Planet", "G"}};
  for (const auto& [tip, caption] : named) {
    const Control* field = nullptr;
    for (const Control* value : g.TXTp) {
      if (value->toolTip().starts_with(tip)) field = value;
    }
    ASSERT_NE(field, nullptr) << tip;
    std::vector<std::string> beside;
    for (const Control* label : g.Label6) {
      if (label->top() == field->top() && label->height() == field->height() &&
          label->left() + label->width() <= field->left()) {
        beside.push_back(label->caption());
      }
    }
    EXPECT_EQ(beside, std::vector<std::string>{caption}) << field->id();
  }
}

}  // namespace
}  // namespace velmora
