#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/engine_events.h"
#include "game_fixture.h"
#include "stats/score.h"
#include "stats/stats.h"

namespace velmora {
namespace {

using testing::GameFixture;

// A running system of `live` bodies besides the sun, plus two bodies that are off,
// started at h:m:s.
void startSystem(GameFixture& f, int live, int h = 12, int m = 0, int s = 0) {
  World& w = f.g.world;
  w.PlanetCount = static_cast<int16_t>(live + 2);
  w.PlanetOff[1] = 1;
  w.PlanetOff[live + 2] = 1;
  f.clock.setTimeOfDay(h, m, s);
  w.StartHour = static_cast<int16_t>(h);
  w.StartMinute = static_cast<int16_t>(m);
  w.StartSecond = static_cast<int16_t>(s);
}

void tickAt(GameFixture& f, int h, int m, int s) {
  f.clock.setTimeOfDay(h, m, s);
  TiK_Timer(f.g);
}

TEST(ClockStats, WorkedValues) {
  struct Row {
    int live;
    int stable;
    double planetFactor;
    double stabilityFactor;
    double score;
    const char* planetTip;
    const char* stabilityTip;
    const char* shown;
  };
  const Row rows[] = {
      {10, 100, 0.1, 10, 1, "0.1", "10", "1"},
      {10, 50, 0.1, 2.5, 0.25, "0.1", "2.5", "0.25"},
      {25, 60, 0.625, 3.6, 2.25, "0.625", "3.6", "2.25"},
      {100, 120, 10, 14.4, 144, "10", "14.4", "144"},
      {3, 7, 0.009, 0.049, 0.0004, "0.009", "0.049", "0.0004"},
      {0, 500, 0, 250, 0, "0", "250", "0"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.shown);
    GameFixture f;
    startSystem(f, r.live);
    tickAt(f, 12, r.stable / 60, r.stable % 60);
    const World& w = f.g.world;
    EXPECT_EQ(w.StableSeconds, r.stable);
    EXPECT_DOUBLE_EQ(w.PlanetFactor, r.planetFactor);
    EXPECT_DOUBLE_EQ(w.StabilityFactor, r.stabilityFactor);
    EXPECT_EQ(w.HighScore, r.score);
    EXPECT_EQ(f.g.Label3->caption(), r.shown);
    EXPECT_EQ(f.g.Label3->toolTip(), r.planetTip);
    EXPECT_EQ(f.g.Label2->toolTip(), r.stabilityTip);
    EXPECT_EQ(f.g.Label2->caption(), std::to_string(r.stable));
    EXPECT_EQ(f.g.LaTT->caption(), std::to_string(r.stable));
    EXPECT_EQ(f.g.LaPL->caption(), std::to_string(r.live));
  }
}

TEST(ClockStats, TruncationKeepsExactlyOneAndTen) {
  EXPECT_EQ(truncatedScore(1), 1);
  EXPECT_EQ(truncatedScore(10), 10);
  EXPECT_EQ(truncatedScore(0.99999), 0.9999);
  EXPECT_EQ(truncatedScore(9.999), 9.99);
  EXPECT_EQ(truncatedScore(10.9), 10);
  EXPECT_EQ(truncatedScore(12345.678), 12345);
}

TEST(ClockStats, ElapsedTimeAcrossMidnightAndPastNineHours) {
  GameFixture f;
  startSystem(f, 5, 23, 30, 0);
  tickAt(f, 0, 10, 0);
  EXPECT_EQ(f.g.world.ClockHour, 24);
  EXPECT_EQ(f.g.world.ElapsedSeconds, 2400);
  tickAt(f, 1, 10, 0);
  EXPECT_EQ(f.g.world.ElapsedSeconds, 6000);
  tickAt(f, 10, 0, 0);  // beyond what 16 bits hold
  EXPECT_EQ(f.g.world.ElapsedSeconds, 37800);
  EXPECT_EQ(f.g.LaTT->caption(), "37800");
}

TEST(ClockStats, ClockSetBackGivesStableTimeZero) {
  GameFixture f;
  startSystem(f, 5, 12, 30, 0);
  tickAt(f, 12, 40, 0);
  KlinK(f.g);
  tickAt(f, 12, 35, 0);  // below the last disturbance
  EXPECT_EQ(f.g.world.StableSeconds, 0);
  tickAt(f, 12, 20, 0);  // before the start itself
  EXPECT_EQ(f.g.world.StableSeconds, 0);
  EXPECT_EQ(f.g.LaTT->caption(), "0");
  EXPECT_EQ(f.g.Label3->caption(), "0");
}

TEST(ClockStats, KlinKRestartsTheStableTime) {
  GameFixture f;
  startSystem(f, 10);
  tickAt(f, 12, 1, 40);
  KlinK(f.g);
  TiK_Timer(f.g);  // the elapsed time has not moved on
  EXPECT_EQ(f.g.world.StableSeconds, 0);
  EXPECT_EQ(f.g.world.ElapsedSeconds, 100);
  tickAt(f, 12, 1, 50);
  EXPECT_EQ(f.g.world.StableSeconds, 10);
}

TEST(ClockStats, HighScoreIsKeptAndOnlyAHigherScoreRaisesTheTop) {
  GameFixture f;  // the new tally gives a top score of 1
  const int writesAtLoad = f.tally.writes;
  startSystem(f, 25);
  tickAt(f, 12, 1, 0);  // 2.25
  EXPECT_EQ(f.g.Label5->caption(), "2.25");
  EXPECT_EQ(f.tally.contents, "2.25,0,10\r\n");
  EXPECT_EQ(f.tally.writes, writesAtLoad + 1);
  TiK_Timer(f.g);  // the same score again is not higher
  EXPECT_EQ(f.tally.writes, writesAtLoad + 1);
  KlinK(f.g);
  tickAt(f, 12, 1, 10);  // a lower score leaves both bests
  EXPECT_EQ(f.g.Label3->caption(), "0.0625");
  EXPECT_EQ(f.g.Label4->caption(), "2.25");
  EXPECT_EQ(f.g.Label5->caption(), "2.25");
}

TEST(ClockStats, TheTimerUpdatesTheLabelsAndRepaintsStabilityAtOnce) {
  GameFixture f;
  std::vector<Prop> stabilityChanges;
  f.g.fs7.observe([&](Control& c, Prop p) {
    if (&c == f.g.LaTT) stabilityChanges.push_back(p);
  });
  startSystem(f, 10);
  f.g.TiK->setEnabled(true);
  f.wait(2030);
  EXPECT_EQ(f.g.Label2->caption(), "2");
  EXPECT_EQ(f.g.LaPL->caption(), "10");
  ASSERT_FALSE(stabilityChanges.empty());
  EXPECT_EQ(stabilityChanges.back(), Prop::Repaint);
}

}  // namespace
}  // namespace velmora
