#include <gtest/gtest.h>

#include <string>

#include "game_fixture.h"
#include "panel/panel.h"

namespace velmora {
namespace {

using testing::GameFixture;

struct Entry {
  const char* typed;
  const char* text;  // the field's text afterwards
  int setting;
};

TEST(PanelFields, PlanetRadius) {
  const Entry rows[] = {{"6.5", "6", 6}, {"7.5", "8", 8}, {"", "1", 1},
                        {"0", "1", 1},   {"-4", "1", 1},  {"12abc", "12", 12}};
  for (const Entry& row : rows) {
    GameFixture f;
    f.enter(*f.g.Text1, row.typed);
    EXPECT_EQ(f.g.Text1->text(), row.text) << row.typed;
    EXPECT_EQ(f.g.world.PlanetRadius, row.setting) << row.typed;
  }
}

TEST(PanelFields, StartAngularMomentum) {
  struct Row {
    const char* typed;
    const char* text;
    int spin, quarter;
  };
  const Row rows[] = {
      {"-12.5", "12.5", 12, 3}, {"10", "10", 10, 2}, {"-10", "10", 10, 2},
      {"6", "6", 6, 2},         {"2", "2", 2, 0},    {"14", "14", 14, 4},
  };
  for (const Row& row : rows) {
    GameFixture f;
    f.enter(*f.g.Text2, row.typed);
    EXPECT_EQ(f.g.Text2->text(), row.text) << row.typed;
    EXPECT_EQ(f.g.world.StartSpin, row.spin) << row.typed;
    EXPECT_EQ(f.g.world.StartSpinQuarter, row.quarter) << row.typed;
  }
}

TEST(PanelFields, ImpactJitterAndItsDoubleClick) {
  GameFixture f;
  Game& g = f.g;
  f.enter(*g.Text4, "-3");
  EXPECT_EQ(g.Text4->text(), "-3");  // never rewritten, never bounded
  EXPECT_EQ(g.world.ImpactJitter, -3);
  EXPECT_EQ(g.world.ImpactJitterSpan, -5);
  f.enter(*g.Text4, "16383");
  EXPECT_EQ(g.world.ImpactJitterSpan, 32767);

  struct Row {
    const char* before;
    const char* after;
  };
  for (const Row& row : {Row{"0", "0"}, Row{"3", "2"}, Row{"0.5", "0"}, Row{"2.5", "1.5"}}) {
    g.Text4->setText(row.before);
    f.dblclick(*g.Text4);
    EXPECT_EQ(g.Text4->text(), row.after) << row.before;
  }
  EXPECT_EQ(g.world.ImpactJitter, 16383);  // stepping stores nothing
}

TEST(PanelFields, BondRangeFollowsThePlanetRadiusText) {
  GameFixture f;
  Game& g = f.g;
  f.enter(*g.Text5, "50");
  EXPECT_EQ(g.Text5->text(), "6");
  EXPECT_EQ(g.world.BondRange, 6);
  EXPECT_EQ(g.world.PlanetRadius, 6);
  f.enter(*g.Text5, "0");
  EXPECT_EQ(g.Text5->text(), "1");
  EXPECT_EQ(g.world.BondRange, 1);
  // The radius is read without Text1's own lower bound.
  g.Text1->setText("0");
  f.enter(*g.Text5, "3");
  EXPECT_EQ(g.world.PlanetRadius, 0);
  EXPECT_EQ(g.world.BondRange, 1);
}

TEST(PanelFields, TaggedPlanet) {
  struct Row {
    const char* count;
    const char* typed;
    const char* text;
    int tag, planetCount;
  };
  const Row rows[] = {
      {"25", "500", "25", 25, 25}, {"25", "-3", "0", 0, 25},
      {"25", "3.7", "3.7", 4, 25}, {"0", "5", "0", 0, 0},  // a bounded tag is rewritten
      {"5000", "2", "2", 2, 999},                          // no count beyond the tables
      {"-30", "40", "30", 30, 30},                         // the count as Go takes it: absolute
  };
  for (const Row& row : rows) {
    GameFixture f;
    f.g.TXn->setText(row.count);
    f.enter(*f.g.Text7, row.typed);
    EXPECT_EQ(f.g.Text7->text(), row.text) << row.typed;
    EXPECT_EQ(f.g.world.TaggedPlanet, row.tag) << row.typed;
    EXPECT_EQ(f.g.world.PlanetCount, row.planetCount) << row.typed;
  }
}

TEST(PanelFields, TaggedPlanetSetsTheCountWhileASystemRuns) {
  GameFixture f;
  f.click(*f.g.Command2);
  f.g.TXn->setText("40");
  f.enter(*f.g.Text7, "1");
  EXPECT_EQ(f.g.world.PlanetCount, 40);
}

// An entry the 16-bit setting cannot hold stores nothing and gives the field its
// last accepted text back.
TEST(PanelFields, OutOfRangeEntriesKeepTheSettingAndRestoreTheText) {
  struct Row {
    Control* Game::*field;
    const char* accepted;  // entered first
    const char* refused;
  };
  const Row rows[] = {
      {&Game::Text1, "7.5", "40000"}, {&Game::Text1, "7.5", "-32769"},
      {&Game::Text2, "12", "-32768"},  // its absolute value does not fit
      {&Game::Text4, "2", "16384"},    // 2k + 1 does not fit
      {&Game::Text4, "2", "-16385"},  {&Game::Text5, "4", "1E+9"},
      {&Game::Text7, "0", "99999"},
  };
  for (const Row& row : rows) {
    GameFixture f;
    Control& field = *(f.g.*row.field);
    f.enter(field, row.accepted);
    const std::string text = field.text();
    const World before = f.g.world;
    f.enter(field, row.refused);
    EXPECT_EQ(field.text(), text) << field.id() << " " << row.refused;
    const World& w = f.g.world;
    EXPECT_EQ(w.PlanetRadius, before.PlanetRadius) << field.id();
    EXPECT_EQ(w.StartSpin, before.StartSpin) << field.id();
    EXPECT_EQ(w.StartSpinQuarter, before.StartSpinQuarter) << field.id();
    EXPECT_EQ(w.ImpactJitter, before.ImpactJitter) << field.id();
    EXPECT_EQ(w.ImpactJitterSpan, before.ImpactJitterSpan) << field.id();
    EXPECT_EQ(w.BondRange, before.BondRange) << field.id();
    EXPECT_EQ(w.TaggedPlanet, before.TaggedPlanet) << field.id();
  }
}

TEST(PanelFields, RefusedEntryBeforeAnyAcceptedOneRestoresTheInitialText) {
  GameFixture f;
  f.enter(*f.g.Text1, "70000");
  EXPECT_EQ(f.g.Text1->text(), "6");
  EXPECT_EQ(f.g.world.PlanetRadius, 0);
}

TEST(PanelFields, GravityFields) {
  GameFixture f;
  Game& g = f.g;
  f.enter(*g.TXg[0], "0");
  EXPECT_EQ(g.TXg[0]->text(), "1E-06");
  EXPECT_EQ(g.world.PlanetGravity[0], 0.000001);
  f.enter(*g.TXg[3], "0");
  EXPECT_EQ(g.TXg[3]->text(), "0");  // never bounded
  f.enter(*g.TXg[1], "-2");
  EXPECT_EQ(g.TXg[1]->text(), "1E-06");

  struct Row {
    const char* typed;
    const char* text;
  };
  for (const Row& row : {Row{"0.3", "0.4"}, Row{"5", "2.6"}, Row{"2.6", "2.6"}, Row{"1.50", "1.50"},
                         Row{"abc", "0.4"}}) {
    f.enter(*g.TXg[2], row.typed);
    EXPECT_EQ(g.TXg[2]->text(), row.text) << row.typed;
  }
}

TEST(PanelFields, AnyGravityFieldStoresTheSunsGravity) {
  for (int i = 0; i < 4; ++i) {
    GameFixture f;
    f.g.TXg[0]->setText("250");
    f.leave(*f.g.TXg[i]);
    EXPECT_EQ(f.g.world.PlanetGravity[0], 250) << i;
  }
  GameFixture f;
  f.enter(*f.g.TXg[0], "300");
  f.enter(*f.g.TXg[0], "5x");  // not wholly a number
  EXPECT_EQ(f.g.TXg[0]->text(), "5x");
  EXPECT_EQ(f.g.world.PlanetGravity[0], 300);
}

TEST(PanelFields, TotalPlanets) {
  struct Row {
    const char* typed;
    const char* text;
  };
  for (const Row& row : {Row{"200", "144"}, Row{"0", "1"}, Row{"abc", "1"}, Row{"144", "144"},
                         Row{"12abc", "12abc"}, Row{"-7", "1"}}) {
    GameFixture f;
    f.enter(*f.g.TXn, row.typed);
    EXPECT_EQ(f.g.TXn->text(), row.text) << row.typed;
    EXPECT_EQ(f.g.world.PlanetCount, 0);  // no setting
  }
  GameFixture f;
  for (const Row& row : {Row{"144", "144"}, Row{"5", "6"}, Row{"x", "1"}}) {
    f.g.TXn->setText(row.typed);
    f.dblclick(*f.g.TXn);
    EXPECT_EQ(f.g.TXn->text(), row.text) << row.typed;
  }
}

TEST(PanelFields, PlanetCountEntries) {
  struct Row {
    int index;
    const char* entry0;
    const char* n;
  };
  const Row rows[] = {
      {0, "40", "40"},   {0, "5000", "999"}, {0, "-5000", "999"},
      {0, "999", "999"}, {1, "40", "40"},  // every TXw copies TXw(0)
      {2, "abc", "abc"},
  };
  for (const Row& row : rows) {
    GameFixture f;
    f.g.TXn->setText("144");
    f.g.TXw[0]->setText(row.entry0);
    f.leave(*f.g.TXw[row.index]);
    EXPECT_EQ(f.g.TXn->text(), row.n) << row.index << " " << row.entry0;
  }

  GameFixture f;
  for (int i = 0; i < 3; ++i) {
    f.g.TXw[i]->setText("999");
    f.dblclick(*f.g.TXw[i]);
    EXPECT_EQ(f.g.TXw[i]->text(), "999") << i;
    f.g.TXw[i]->setText("5");
    f.dblclick(*f.g.TXw[i]);
    EXPECT_EQ(f.g.TXw[i]->text(), "6") << i;
  }
}

TEST(PanelFields, NovaSpread) {
  struct Row {
    const char* typed;
    const char* text;
  };
  for (const Row& row : {Row{"0.001", "0.01"}, Row{"0.7", "0.5"}, Row{"0.5", "0.5"},
                         Row{"0.30", "0.30"}, Row{"", "0.01"}}) {
    GameFixture f;
    f.enter(*f.g.TXTrange, row.typed);
    EXPECT_EQ(f.g.TXTrange->text(), row.text) << row.typed;
  }
}

TEST(PanelFields, RandomGravityBoxKeepsTheRangeInOrder) {
  struct Row {
    const char* least;
    const char* most;
    bool checks;  // the click checks the box, else unchecks it
    const char* mostAfter;
  };
  const Row rows[] = {
      {"9", "10", true, "18"},        // "10" sorts before "9"
      {"0.003", "0.1", true, "0.1"},  // in order already
      {"0.05", "0.05", true, "0.1"},  // equal texts double too
      {"5x", "", true, ""},           // no strict number to double
      {"0.003", "0.1", false, ""},    // unchecking always empties
      {"9", "10", false, ""},
  };
  for (const Row& row : rows) {
    GameFixture f;
    if (!row.checks) f.g.CHgr->setValue(1);
    f.g.TXg[1]->setText(row.least);
    f.g.TXg[3]->setText(row.most);
    f.click(*f.g.CHgr);
    EXPECT_EQ(f.g.TXg[3]->text(), row.mostAfter) << row.least << " " << row.most;
  }
}

TEST(PanelFields, RadiusAndCoreCopies) {
  GameFixture f;
  Game& g = f.g;
  copyRadiusToCore(g);
  EXPECT_EQ(g.Text5->text(), "6");
  g.Text5->setText("4");
  copyCoreToRadius(g);
  EXPECT_EQ(g.Text1->text(), "4");
  EXPECT_EQ(g.world.PlanetRadius, 0);  // texts only

  // An entry not yet judged is copied, but is no text to fall back to.
  f.type(*g.Text1, "99999");
  copyRadiusToCore(g);
  f.leave(*g.Text5);
  EXPECT_EQ(g.Text5->text(), "6");
}

}  // namespace
}  // namespace velmora
