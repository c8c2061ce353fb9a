#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "game_fixture.h"

namespace velmora {
namespace {

using testing::GameFixture;

// Everything the player can see or that a handler reads, per control.
struct ControlState {
  std::string text, caption;
  int value, interval;
  bool visible, enabled;
  friend bool operator==(const ControlState&, const ControlState&) = default;
};

std::map<std::string, ControlState> panel(const Game& g) {
  std::map<std::string, ControlState> states;
  for (const auto& c : g.fs7.controls()) {
    states[c->id()] = {c->text(),     c->caption(), c->value(),
                       c->interval(), c->visible(), c->enabled()};
  }
  return states;
}

std::vector<std::string> changed(const std::map<std::string, ControlState>& before,
                                 const std::map<std::string, ControlState>& after) {
  std::vector<std::string> ids;
  for (const auto& [id, state] : after) {
    if (!(before.at(id) == state)) ids.push_back(id);
  }
  return ids;
}

TEST(Presets, EachPresetTwiceLeavesTheSamePanel) {
  for (int i = 0; i < 6; ++i) {
    GameFixture f;
    f.click(*f.g.CDp[i]);
    const auto once = panel(f.g);
    const World w = f.g.world;
    f.click(*f.g.CDp[i]);
    EXPECT_TRUE(changed(once, panel(f.g)).empty()) << "preset " << i + 1;
    EXPECT_EQ(f.g.world.BorderMomentumDivisor, w.BorderMomentumDivisor);
  }
}

TEST(Presets, SpinPresetsChangeOnlySpinAndTheHint) {
  GameFixture f;
  Game& g = f.g;
  const auto before = panel(g);
  f.click(*g.CDp[0]);
  EXPECT_EQ(changed(before, panel(g)), (std::vector<std::string>{"CHgod", "Label11"}));
  EXPECT_EQ(g.CHgod->value(), 1);
  EXPECT_EQ(g.Label11->caption(),
            "With 'Spin' as a starting option, a solar system  forms with planets orbiting in the "
            "same direction. With 'Spin' the orbits are concentric (similar to circles).");

  const auto spun = panel(g);
  f.click(*g.CDp[1]);
  EXPECT_EQ(changed(spun, panel(g)), (std::vector<std::string>{"CHgod", "Label11"}));
  EXPECT_EQ(g.CHgod->value(), 0);
  EXPECT_EQ(g.Label11->caption(),
            "Without 'Spin' as a starting option, a solar system will not form with planets which "
            "orbit in the same direction. Without 'Spin' a solar system is chaotic and the orbits "
            "are very eccentric (extremely elliptical).");
}

struct Expected {
  const char* id;
  std::string text;
};

TEST(Presets, NovaPresetsWriteTheirTables) {
  const std::vector<Expected> texts[4] = {
      {{"Text1", "30"},
       {"Text2", "16"},
       {"Text5", "27"},
       {"Text4", "9"},
       {"Text7", "0"},
       {"TXw(0)", "25"},
       {"TXn", "25"},
       {"TXg(0)", "300"},
       {"TXg(1)", "1"},
       {"TXg(2)", "2"},
       {"TXg(3)", "0.001"},
       {"TXsrad", "270"},
       {"TXref", "5"},
       {"TXTrange", "0.25"}},
      {{"Text1", "30"},
       {"Text2", "33"},
       {"Text5", "29"},
       {"Text4", "9"},
       {"Text7", "0"},
       {"TXw(0)", "300"},
       {"TXn", "300"},
       {"TXg(0)", "1000"},
       {"TXg(1)", "0.0001"},
       {"TXg(2)", "2"},
       {"TXg(3)", "0.3"},
       {"TXsrad", "270"},
       {"TXref", "20"},
       {"TXTrange", "0.1"}},
      {{"Text1", "20"},
       {"Text2", "50"},
       {"Text5", "18"},
       {"Text4", "0"},
       {"Text7", "0"},
       {"TXw(0)", "999"},
       {"TXn", "999"},
       {"TXg(0)", "3000"},
       {"TXg(1)", "3"},
       {"TXg(2)", "2"},
       {"TXg(3)", ""},
       {"TXsrad", "350"},
       {"TXref", "3"},
       {"TXTrange", "0.17"}},
      {{"Text1", "20"},
       {"Text2", "37"},
       {"Text5", "18"},
       {"Text4", "0"},
       {"Text7", "0"},
       {"TXw(0)", "500"},
       {"TXn", "500"},
       {"TXg(0)", "1000"},
       {"TXg(1)", "0.03"},
       {"TXg(2)", "2"},
       {"TXg(3)", ""},
       {"TXsrad", "350"},
       {"TXref", "5"},
       {"TXTrange", "0.07"}},
  };
  const int border[4] = {4, 4, 6, 6};
  const int autoClear[4] = {0, 1, 1, 0};
  const int randomGravity[4] = {1, 1, 0, 0};
  const char* hints[4] = {
      "Only when one of a twin star system goes nova can a solar system form with planets "
      "orbiting in the same direction.",
      "One of a twin star goes nova. The remains are between Jupiter and Mars size.",
      "999 Jupiter size worlds generated from a mass equal to the sun going nova.",
      "500 Earth-size worlds generated from a nova. This star was 1/60th of the sun, or 15x "
      "Jupiter.",
  };
  for (int p = 0; p < 4; ++p) {
    GameFixture f;
    Game& g = f.g;
    g.resize(18000, 13320);
    f.click(*g.CDp[p + 2]);
    for (const Expected& e : texts[p]) {
      EXPECT_EQ(g.fs7.findById(e.id)->text(), e.text) << "preset " << p + 3 << " " << e.id;
    }
    EXPECT_TRUE(g.Och[border[p]]->selected()) << p + 3;
    EXPECT_EQ(g.CHr->value(), autoClear[p]) << p + 3;
    EXPECT_EQ(g.CHgr->value(), randomGravity[p]) << p + 3;
    EXPECT_EQ(g.CHsol->value(), 1);
    EXPECT_EQ(g.Chbi->value(), 1);
    EXPECT_EQ(g.CHgod->value(), 1);
    EXPECT_EQ(g.Label11->caption(), hints[p]);
    // Fields only: no setting of the world is stored.
    EXPECT_EQ(g.world.PlanetRadius, 0);
    EXPECT_EQ(g.world.PlanetCount, 0);
    EXPECT_EQ(g.world.StartSpin, 0);
  }
}

TEST(Presets, ClearingArmedFromTheNewTimeOnlyWhenTheBoxChanges) {
  struct Row {
    int preset;
    int ms;
  };
  for (const Row& row : {Row{3, 20000}, Row{4, 3000}}) {
    GameFixture f;
    f.click(*f.g.CDp[row.preset]);
    EXPECT_TRUE(f.g.Tiball->enabled());
    EXPECT_EQ(f.g.Tiball->interval(), row.ms);
  }

  GameFixture f;
  Game& g = f.g;
  f.click(*g.CHr);
  f.wait(3000);
  const int64_t due = g.Tiball->dueMs();
  f.click(*g.CDp[3]);
  EXPECT_EQ(g.TXref->text(), "20");
  EXPECT_EQ(g.Tiball->interval(), 5000);
  EXPECT_EQ(g.Tiball->dueMs(), due);
  // Starting re-arms it from the field.
  f.click(*g.Command2);
  EXPECT_EQ(g.Tiball->interval(), 20000);
}

TEST(Presets, UncheckingClearingStopsItsTimer) {
  GameFixture f;
  f.click(*f.g.CDp[3]);
  f.click(*f.g.CDp[5]);
  EXPECT_FALSE(f.g.Tiball->enabled());
  EXPECT_FALSE(f.g.TXref->visible());
  EXPECT_EQ(f.g.TXref->text(), "20");
}

TEST(Presets, EndWithTheTabledGravityRangeWhateverCameBefore) {
  for (int first = 2; first < 6; ++first) {
    for (int then = 2; then < 6; ++then) {
      GameFixture f;
      f.click(*f.g.CDp[first]);
      f.click(*f.g.CDp[then]);
      GameFixture fresh;
      fresh.click(*fresh.g.CDp[then]);
      EXPECT_EQ(f.g.TXg[1]->text(), fresh.g.TXg[1]->text()) << first + 1 << " " << then + 1;
      EXPECT_EQ(f.g.TXg[3]->text(), fresh.g.TXg[3]->text()) << first + 1 << " " << then + 1;
    }
  }
}

TEST(Presets, TheSpinFollowsTheWindowWidth) {
  GameFixture f;
  f.click(*f.g.CDp[2]);
  EXPECT_EQ(f.g.Text2->text(), "16");  // floor(300000 / 17895)
  f.g.resize(9000, 13320);
  f.click(*f.g.CDp[2]);
  EXPECT_EQ(f.g.Text2->text(), "33");
}

TEST(Presets, APresetTextIsWhatARefusedEntryFallsBackTo) {
  GameFixture f;
  f.click(*f.g.CDp[2]);
  f.enter(*f.g.Text1, "99999");
  EXPECT_EQ(f.g.Text1->text(), "30");
}

TEST(Presets, LargestPresetStartsWithNineHundredNinetyNinePlanets) {
  GameFixture f;
  f.click(*f.g.CDp[4]);
  f.click(*f.g.Command2);
  EXPECT_EQ(f.g.world.PlanetCount, 999);
  EXPECT_EQ(f.g.world.PlanetGravity[999], 3);
  EXPECT_EQ(f.g.world.PlanetType[999], 1);
  EXPECT_EQ(f.g.world.SunRadius, 350);
  for (Control* c : f.g.CDp) EXPECT_FALSE(c->visible());
}

}  // namespace
}  // namespace velmora
