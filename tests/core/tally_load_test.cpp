#include <gtest/gtest.h>

#include <string>

#include "game_fixture.h"
#include "stats/stats.h"
#include "stats/tally_line.h"

namespace velmora {
namespace {

using testing::GameFixture;

// A game loaded with the tally holding `contents` (nothing: no file).
struct Loaded {
  explicit Loaded(std::optional<std::string> contents) : f(false) {
    f.tally.contents = std::move(contents);
    f.g.load();
  }
  // 12 live bodies undisturbed for 156 s score 3.5, a new top over anything below.
  void reachScore3_5() {
    World& w = f.g.world;
    w.PlanetCount = 12;
    w.StartHour = 12;
    f.clock.setTimeOfDay(12, 2, 36);
    TiK_Timer(f.g);
  }
  GameFixture f;
};

TEST(TallyLoad, MissingFileIsCreatedAndTopIsOne) {
  Loaded l(std::nullopt);
  EXPECT_EQ(l.f.tally.contents, "1,1,1\r\n");
  EXPECT_EQ(l.f.g.world.TopScore, 1);
  EXPECT_EQ(l.f.g.Label5->caption(), "1");
}

TEST(TallyLoad, ValidLinesAreAcceptedAndLeftAlone) {
  struct Row {
    const char* contents;
    const char* top;
  };
  for (const Row r : {Row{"144,20,10\r\n", "144"}, Row{"6.99,0,3\r\n", "6.99"},
                      Row{"2.25,0,10", "2.25"}, Row{"1E-05,0,10\n", "1E-05"}}) {
    SCOPED_TRACE(r.contents);
    Loaded l(std::string(r.contents));
    EXPECT_EQ(l.f.g.Label5->caption(), r.top);
    EXPECT_EQ(l.f.tally.writes, 0);
  }
}

TEST(TallyLoad, CheckFailureGivesOneAndTheFileWaitsForAHigherScore) {
  Loaded l(std::string("144,21,10\r\n"));
  EXPECT_EQ(l.f.g.Label5->caption(), "1");
  EXPECT_EQ(l.f.tally.contents, "144,21,10\r\n");
  l.reachScore3_5();
  EXPECT_EQ(l.f.tally.contents, "3.5,0,10\r\n");
  EXPECT_EQ(l.f.g.Label5->caption(), "3.5");
}

TEST(TallyLoad, UnreadableContentsGiveOneAndAreRepairedAtTheNextSave) {
  const std::string unreadable[] = {
      "",
      "144,20",
      "144,20,10,7\r\n",
      "one,two,three\r\n",
      "144;20;10\r\n",
      std::string(100000, '7') + ",0,10\r\n",
      std::string("\x00\xff\x01,\x02,\x7f", 7),
  };
  for (const std::string& contents : unreadable) {
    SCOPED_TRACE(contents.substr(0, 20));
    Loaded l(contents);
    EXPECT_EQ(l.f.g.world.TopScore, 1);
    EXPECT_EQ(l.f.g.Label5->caption(), "1");
    EXPECT_EQ(l.f.tally.writes, 0);
    l.reachScore3_5();
    EXPECT_EQ(l.f.tally.contents, "3.5,0,10\r\n");
  }
}

TEST(TallyLoad, FailedSavesKeepTheRecordAndAreTriedAgain) {
  Loaded l(std::string("1,0,10\r\n"));
  l.f.tally.failWrites = true;
  l.reachScore3_5();
  EXPECT_EQ(l.f.g.world.TopScore, 3.5);
  EXPECT_EQ(l.f.g.Label5->caption(), "3.5");
  EXPECT_EQ(l.f.tally.contents, "1,0,10\r\n");
  // "Top"'s tip says the record is not saved and where it should have gone.
  EXPECT_EQ(l.f.g.Label5->toolTip(), unsavedRecordTip("memory"));
  EXPECT_NE(l.f.g.Label5->toolTip().find("memory"), std::string::npos);

  l.f.tally.failWrites = false;
  l.f.clock.advanceTo(l.f.clock.nowMs() + 24000);  // 12:03:00, a higher score: 4.6656 cut to 4.66
  TiK_Timer(l.f.g);
  EXPECT_EQ(l.f.tally.contents, "4.66,0,10\r\n");
  EXPECT_EQ(l.f.g.Label5->toolTip(), "");
}

TEST(TallyLine, WhatIsWrittenReadsBack) {
  for (double top : {1.0, 0.0004, 1e-05, 2.25, 144.0, 123456789.0, 7.0}) {
    SCOPED_TRACE(top);
    const std::optional<TallyRecord> r = parseTallyLine(tallyLine(top));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->topScore, top);
    EXPECT_EQ(r->check, tallyCheck(top));
    EXPECT_EQ(r->unused, 10);
  }
  EXPECT_EQ(tallyLine(144), "144,20,10\r\n");
}

}  // namespace
}  // namespace velmora
