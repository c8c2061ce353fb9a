// What a screen reader calls the main window's controls: every control that takes
// input, and every value the window shows, has a name of its own and a
// description; names come from the captions beside the controls.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "app/control_names.h"
#include "app/layout.h"
#include "game_fixture.h"

namespace velmora {
namespace {

using testing::GameFixture;

TEST(ControlNames, EveryControlIsNamedApartAndDescribed) {
  GameFixture f;
  const Game& g = f.g;
  const std::vector<ControlName> names = controlNames(g);
  std::map<std::string, std::string> owner;  // name -> the control that has it
  for (const auto& c : g.fs7.controls()) {
    if (c->kind() == Kind::Timer) continue;
    const SpokenText text = spokenTextOf(names, *c);
    EXPECT_FALSE(text.name.empty()) << c->id();
    EXPECT_FALSE(text.description.empty()) << c->id();
    // A caption label shares the name of what it captions; every other control
    // and every value has a name of its own.
    const ControlName* row = rowOf(names, *c);
    if (c->kind() == Kind::Label && (row == nullptr || row->voice != Voice::Readout)) continue;
    const auto [at, isNew] = owner.emplace(text.name, c->id());
    EXPECT_TRUE(isNew) << c->id() << " and " << at->second << " are both \"" << text.name << "\"";
  }
  EXPECT_GT(owner.size(), 70u);
}

TEST(ControlNames, TheNamesAPlayerWasMisledBy) {
  GameFixture f;
  const Game& g = f.g;
  const std::vector<ControlName> names = controlNames(g);
  auto name = [&](const Control* c) { return spokenTextOf(names, *c).name; };
  auto description = [&](const Control* c) { return spokenTextOf(names, *c).description; };
  // Values are named by what they show, not by their numbers.
  g.Label2->setCaption("21");
  g.Label3->setCaption("0.0004");
  g.Label3->setToolTip("0.009");
  EXPECT_EQ(name(g.Label2), "Elapsed time");
  EXPECT_EQ(name(g.Label3), "Current score");
  EXPECT_EQ(description(g.Label3).find("0.0"), std::string::npos);
  // The pictures are named by what they show.
  EXPECT_EQ(name(g.ImMoon), "Moon picture");
  EXPECT_EQ(name(g.PicA), "Nova picture");
  EXPECT_NE(name(g.CHsol), name(g.TXg[kTxgSunGravity]));
  // The editor's fields by the caption beside them.
  EXPECT_EQ(name(g.TXTp[kTxtpX]), "X");
  EXPECT_EQ(name(g.TXTp[kTxtpMomentumY]), "Ym");
  EXPECT_EQ(name(g.Hsp[kTxtpMomentumY]), "Ym bar");
  EXPECT_EQ(description(g.Hsp[kTxtpMomentumY]), "Vertical Momentum");
  // Each preset says what it sets up.
  std::set<std::string> presets;
  for (const Control* preset : g.CDp) presets.insert(description(preset));
  EXPECT_EQ(presets.size(), g.CDp.size());
  EXPECT_EQ(description(g.CDp[4]),
            "999 Jupiter size worlds generated from a mass equal to the sun going nova.");
}

TEST(ControlNames, CaptionsReadAsTheyChangeWithTheirBlanksAsOne) {
  GameFixture f;
  Game& g = f.g;
  const std::vector<ControlName> names = controlNames(g);
  EXPECT_EQ(spokenTextOf(names, *g.La[kLaPlanet]).name, "Planet #");
  EXPECT_EQ(spokenTextOf(names, *g.Chbi).name, "Bind");
  EXPECT_EQ(spokenTextOf(names, *g.Chbi).description, "Bind Planets on Impact");
  f.click(*g.CDp[2]);
  EXPECT_EQ(spokenTextOf(names, *g.Label11).name, g.Label11->caption());
  g.TXg[kTxgExponent]->setToolTip("tip");
  EXPECT_EQ(spokenTextOf(names, *g.TXg[kTxgExponent]).description, "tip");
  // The check box keeps its name while its caption says the body's state.
  g.Chon->setCaption("Planet ON");
  EXPECT_EQ(spokenTextOf(names, *g.Chon).name, "Planet off");
}

}  // namespace
}  // namespace velmora
