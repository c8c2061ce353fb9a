// "New system": the start layout again, the panel as the player left it, and a
// "Go" from there builds exactly the system a fresh program builds from that panel.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/field_tools.h"
#include "app/new_system.h"
#include "create/create.h"
#include "game_fixture.h"

namespace velmora {
namespace {

using testing::GameFixture;

template <class T>
void addBytes(std::string& out, const T& value) {
  out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// The system bit for bit: the tables, the settings and counters that do not follow
// the time of day or the tally, the generator and the picture.
std::string systemBits(const Game& g) {
  const World& w = g.world;
  std::string s;
  for (const auto* t :
       {&w.PlanetX, &w.PlanetY, &w.MomentumX, &w.MomentumY, &w.PlanetGravity, &w.PlanetType}) {
    addBytes(s, *t);
  }
  for (const auto* t : {&w.PlanetRed, &w.PlanetGreen, &w.PlanetBlue}) addBytes(s, *t);
  addBytes(s, w.PlanetOff);
  for (const int16_t v : {w.PlanetCount, w.PlanetRadius, w.BondRange, w.SunRadius, w.ImpactJitter,
                          w.ImpactJitterSpan, w.StartSpin, w.StartSpinSpan, w.StartSpinQuarter,
                          w.BorderMomentumDivisor, w.SeedCounter, w.TaggedPlanet, w.GoBlinkTicks}) {
    addBytes(s, v);
  }
  addBytes(s, w.GravityExponent);
  s += g.rng.state();
  addBytes(s, g.rng.draws());
  const auto& pixels = g.surface.pixels();
  s.append(reinterpret_cast<const char*>(pixels.data()), pixels.size() * sizeof(uint32_t));
  return s;
}

// The first system's panel: the seed frozen at 7, preset 3.
void firstPanel(GameFixture& f) {
  f.click(*f.g.CHran);
  f.enter(*f.g.TXran, "7");
  f.click(*f.g.CDp[kPresetTwinNova]);
  f.click(*f.g.Och[4]);
}

// The one thing changed for the second: preset 4 and another seed.
void secondChange(GameFixture& f) {
  f.click(*f.g.CDp[kPresetTwinNovaRemains]);
  f.enter(*f.g.TXran, "12");
}

// A player sets the panel once the start layout has fitted the start momentum to
// the window (the first half second), and "New system" returns to that moment.
TEST(NewSystem, GoAfterNewBuildsWhatAFreshProgramBuildsFromTheSamePanel) {
  GameFixture fresh;
  fresh.wait(600);
  firstPanel(fresh);
  secondChange(fresh);
  fresh.wait(1000);
  fresh.click(*fresh.g.Command2);
  fresh.wait(3000);

  GameFixture again;
  Game& g = again.g;
  again.wait(600);
  firstPanel(again);
  again.wait(1000);
  again.click(*g.Command2);
  again.wait(4000);
  again.click(*g.Command5);  // paused, with edits made on the field
  ASSERT_EQ(addBodyAt(g, 3000, 3000), ToolOutcome::kDone);
  ASSERT_EQ(aimAt(g, 40, -12), ToolOutcome::kDone);
  g.world.PlanetOff[0] = 1;
  const double topScore = g.world.TopScore;
  ASSERT_TRUE(newSystem(g));
  EXPECT_EQ(g.world.TopScore, topScore);
  secondChange(again);
  again.wait(1000);
  again.click(*g.Command2);
  again.wait(3000);

  EXPECT_TRUE(g.Ti->enabled());
  EXPECT_EQ(g.world.PlanetCount, fresh.g.world.PlanetCount);
  EXPECT_TRUE(systemBits(g) == systemBits(fresh.g));
}

TEST(NewSystem, BringsBackTheStartLayoutWithThePanelAsLeft) {
  GameFixture start;
  GameFixture f;
  Game& g = f.g;
  EXPECT_FALSE(newSystem(g));  // nothing built yet
  f.enter(*g.TXn, "40");
  f.wait(600);
  f.enter(*g.Text2, "7");
  f.click(*g.CHsol);
  f.click(*g.Command2);
  f.wait(2000);
  ASSERT_FALSE(g.Command2->visible());
  const std::string count = g.TXn->text();

  ASSERT_TRUE(newSystem(g));
  for (const Control* c :
       {g.Command2, g.CDp[0], g.CDp[5], g.Picture1, g.Label7, g.CHran, g.La[kLaSets], g.ImMoon}) {
    EXPECT_TRUE(c->visible()) << c->id();
  }
  for (const Control* c : {g.Command5, g.Command4, g.ImSun, g.TXTOden, g.Frame2}) {
    EXPECT_FALSE(c->visible()) << c->id();
  }
  EXPECT_TRUE(g.TXn->enabled());
  EXPECT_TRUE(g.TXran->enabled());
  EXPECT_FALSE(g.Ti->enabled());
  EXPECT_FALSE(g.TiK->enabled());
  EXPECT_TRUE(g.Tr->enabled());  // the seed runs again: it was not frozen
  EXPECT_EQ(g.Command5->left(), start.g.Command5->left());
  EXPECT_EQ(g.TXn->text(), count);
  EXPECT_EQ(g.CHsol->value(), 0);
  for (uint32_t p : g.surface.pixels()) ASSERT_EQ(p, Surface::pack({0, 0, 0}));
  EXPECT_EQ(g.world.PlanetX[1], 0);

  // The blink runs again, and leaves the typed start momentum as it is.
  const auto seed = g.world.SeedCounter;
  f.wait(1000);
  EXPECT_EQ(g.world.GoBlinkTicks, kSpinFittingBlinks + 4);
  EXPECT_EQ(g.Text2->text(), "7");
  EXPECT_GT(g.world.SeedCounter, seed);
  f.click(*g.Command2);
  EXPECT_TRUE(g.Ti->enabled());
  EXPECT_EQ(g.world.StartSpin, 7);
}

}  // namespace
}  // namespace velmora
