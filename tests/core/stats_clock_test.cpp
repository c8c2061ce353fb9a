#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game_fixture.h"
#include "sim/tick.h"
#include "state/clock_watch.h"
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

// Time passes until the time of day is h:m:s, then the clock ticks.
void tickAt(GameFixture& f, int h, int m, int s) {
  constexpr int kDay = 24 * 3600;
  const int ahead = ((h * 3600 + m * 60 + s - f.clock.secondOfDay()) % kDay + kDay) % kDay;
  f.clock.advanceTo(f.clock.nowMs() + ahead * 1000LL);
  TiK_Timer(f.g);
}

// Somebody sets the clock to h:m:s, and it ticks at once.
void setClockAndTick(GameFixture& f, int h, int m, int s) {
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
  sim::KlinK(f.g.world);
  setClockAndTick(f, 12, 35, 0);  // below the last disturbance
  EXPECT_EQ(f.g.world.StableSeconds, 0);
  setClockAndTick(f, 12, 20, 0);  // before the start itself
  EXPECT_EQ(f.g.world.StableSeconds, 0);
  EXPECT_EQ(f.g.LaTT->caption(), "0");
  EXPECT_EQ(f.g.Label3->caption(), "0");
}

// A clock set back past the start looks like a passed midnight to the elapsed
// time, one set forward like time undisturbed; the monotonic clock tells both
// apart, so the tick is a disturbance and no record is made of it.
TEST(ClockStats, AChangedClockIsADisturbanceAndMakesNoRecord) {
  struct Row {
    const char* name;
    int h, m, s;  // the time of day set ten minutes after the start at 12:00:00
  };
  const Row rows[] = {
      {"back past the start", 11, 59, 30},
      {"back within the hour", 12, 5, 0},
      {"forward an hour", 13, 10, 0},
      {"forward across midnight", 0, 30, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    GameFixture f;
    const int writesAtLoad = f.tally.writes;
    startSystem(f, 1);  // one live body: ten stable minutes make no record
    f.g.clockWatch.note(f.clock.nowMs(), f.clock.secondOfDay());  // as "Go" does
    tickAt(f, 12, 10, 0);
    sim::KlinK(f.g.world);  // a pause, say
    setClockAndTick(f, r.h, r.m, r.s);
    const World& w = f.g.world;
    EXPECT_EQ(w.StableSeconds, 0);
    EXPECT_EQ(w.LastDisturbance, w.ElapsedSeconds);
    EXPECT_EQ(f.g.Label3->caption(), "0");
    // The stable time goes on from the changed clock, second by second.
    const int second = f.clock.secondOfDay() + 5;
    tickAt(f, second / 3600 % 24, second / 60 % 60, second % 60);
    EXPECT_EQ(w.StableSeconds, 5);
    EXPECT_EQ(w.TopScore, 1);
    EXPECT_EQ(f.tally.writes, writesAtLoad);
    EXPECT_EQ(f.tally.contents, "1,1,1\r\n");
  }
}

TEST(ClockStats, TimePassingIsNoChangeOfTheClock) {
  struct Row {
    const char* name;
    int64_t monotonicMs;  // moved since the last reading
    int dayMovedS;        // how far the time of day moved
    bool changed;
  };
  const Row rows[] = {
      {"a clock tick inside a second", 30, 0, false},
      {"a clock tick across a second", 30, 1, false},
      {"two seconds late", 1000, 3, false},
      {"more than two seconds late", 900, 3, true},
      {"more than two seconds early", 3100, 0, true},
      {"an hour paused", 3600 * 1000, 3600, false},
      {"a day and a second paused", 86401 * 1000LL, 1, false},
      {"the clock set back an hour", 30, -3600, true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    ClockWatch watch;
    const int start = 23 * 3600 + 59 * 60 + 58;     // so that midnight is passed too
    EXPECT_FALSE(watch.changedSince(5000, start));  // nothing to compare with yet
    const int now = ((start + r.dayMovedS) % 86400 + 86400) % 86400;
    EXPECT_EQ(watch.changedSince(5000 + r.monotonicMs, now), r.changed);
  }
}

TEST(ClockStats, KlinKRestartsTheStableTime) {
  GameFixture f;
  startSystem(f, 10);
  tickAt(f, 12, 1, 40);
  sim::KlinK(f.g.world);
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
  sim::KlinK(f.g.world);
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
