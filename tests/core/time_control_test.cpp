#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/system_snapshot.h"
#include "app/time_control.h"
#include "editor/editor.h"
#include "editor_fixture.h"

namespace velmora {
namespace {

using testing::GameFixture;
using testing::pauseOrResume;
using testing::startSystem;

// The first body whose entry differs bit for bit, or -1.
template <class T>
int firstDifference(const Table<T>& a, const Table<T>& b) {
  for (int i = 0; i < kMaxBodies; ++i) {
    if (std::memcmp(&a[i], &b[i], sizeof(T)) != 0) return i;
  }
  return -1;
}

void expectSameTables(const Game& a, const Game& b) {
  const World& x = a.world;
  const World& y = b.world;
  EXPECT_EQ(firstDifference(x.PlanetX, y.PlanetX), -1) << "PlanetX";
  EXPECT_EQ(firstDifference(x.PlanetY, y.PlanetY), -1) << "PlanetY";
  EXPECT_EQ(firstDifference(x.MomentumX, y.MomentumX), -1) << "MomentumX";
  EXPECT_EQ(firstDifference(x.MomentumY, y.MomentumY), -1) << "MomentumY";
  EXPECT_EQ(firstDifference(x.PlanetGravity, y.PlanetGravity), -1) << "PlanetGravity";
  EXPECT_EQ(firstDifference(x.PlanetType, y.PlanetType), -1) << "PlanetType";
  EXPECT_EQ(firstDifference(x.PlanetRed, y.PlanetRed), -1) << "PlanetRed";
  EXPECT_EQ(firstDifference(x.PlanetGreen, y.PlanetGreen), -1) << "PlanetGreen";
  EXPECT_EQ(firstDifference(x.PlanetBlue, y.PlanetBlue), -1) << "PlanetBlue";
  EXPECT_EQ(firstDifference(x.PlanetOff, y.PlanetOff), -1) << "PlanetOff";
  EXPECT_EQ(x.PlanetCount, y.PlanetCount);
  EXPECT_EQ(a.rng.draws(), b.rng.draws());
}

// A crowd close enough to merge and kick, so that a tick changes many entries.
void startCrowd(GameFixture& f) {
  startSystem(f, 60);
  f.g.rng.seed(46);
  f.g.Chbi->setValue(1);
  f.wait(15 * 40);
}

TEST(SingleStep, KStepsEqualTheSamePauseResumedForKTicks) {
  GameFixture stepped;
  GameFixture resumed;
  for (GameFixture* f : {&stepped, &resumed}) {
    startCrowd(*f);
    pauseOrResume(*f);
    f->scroll(*f->g.Qui, 60);  // the heaviest planet: it keeps its place in merges
  }
  const std::string elapsed = stepped.g.Label2->caption();
  const std::string stable = stepped.g.LaTT->caption();

  constexpr int k = 25;
  for (int i = 0; i < k; ++i) {
    ASSERT_TRUE(stepOnce(stepped.g));
    // The timer's own tick: resumed for one period, paused again at the same moment.
    pauseOrResume(resumed);
    resumed.wait(resumed.g.Ti->interval());
    pauseOrResume(resumed);
  }

  expectSameTables(stepped.g, resumed.g);
  EXPECT_EQ(stepped.g.surface.pixels(), resumed.g.surface.pixels());
  // The editor shows the body it showed, with its new values.
  EXPECT_EQ(stepped.g.TXTOden->text(), "60");
  EXPECT_EQ(stepped.g.world.PlanetOff[60], 0);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(stepped.g.TXTp[i]->text(), resumed.g.TXTp[i]->text()) << i;
  }
  EXPECT_EQ(stepped.g.Shark->left(), resumed.g.Shark->left());
  EXPECT_EQ(stepped.g.Shark->top(), resumed.g.Shark->top());
  // Still paused, the statistics as the pause left them.
  EXPECT_FALSE(stepped.g.Ti->enabled());
  EXPECT_FALSE(stepped.g.TiK->enabled());
  EXPECT_EQ(stepped.g.Label2->caption(), elapsed);
  EXPECT_EQ(stepped.g.LaTT->caption(), stable);
}

TEST(SingleStep, OnlyWhilePaused) {
  GameFixture f;
  Game& g = f.g;
  const auto drawsBefore = g.rng.draws();
  EXPECT_FALSE(stepOnce(g));  // nothing started yet
  startSystem(f, 10);
  const double x = g.world.PlanetX[3];
  EXPECT_FALSE(stepOnce(g));  // running
  EXPECT_EQ(g.world.PlanetX[3], x);
  EXPECT_EQ(g.rng.draws(), drawsBefore);
  pauseOrResume(f);
  EXPECT_TRUE(stepOnce(g));
  EXPECT_NE(g.world.PlanetX[3], x);
  pauseOrResume(f);
  EXPECT_FALSE(stepOnce(g));
}

// A step is a player's action like a click: a value still being typed is applied
// first, not overwritten by the editor showing the body again.
TEST(SingleStep, AValueBeingTypedIsAppliedBeforeTheStep) {
  GameFixture typed;
  GameFixture entered;
  GameFixture untouched;
  for (GameFixture* f : {&typed, &entered, &untouched}) {
    startSystem(*f, 10);
    pauseOrResume(*f);
    f->scroll(*f->g.Qui, 3);
  }
  typed.type(*typed.g.TXTp[kTxtpX], "2500");
  entered.enter(*entered.g.TXTp[kTxtpX], "2500");
  for (GameFixture* f : {&typed, &entered, &untouched}) ASSERT_TRUE(stepOnce(f->g));

  expectSameTables(typed.g, entered.g);
  EXPECT_NE(typed.g.world.PlanetX[3], untouched.g.world.PlanetX[3]);
  EXPECT_EQ(typed.g.TXTp[kTxtpX]->text(), entered.g.TXTp[kTxtpX]->text());
}

TEST(Speed, APeriodHoldsTheTicksOfItsSpeed) {
  // x4 for k periods is x1 for 4k periods; x1/4 for 4k periods is x1 for k.
  struct Case {
    int level;
    int periods;
    int plainPeriods;
  };
  for (const Case c : {Case{3, 10, 80}, Case{2, 10, 40}, Case{1, 7, 14}, Case{-1, 14, 7},
                       Case{-2, 40, 10}, Case{-3, 81, 10}}) {
    GameFixture fast;
    GameFixture plain;
    for (GameFixture* f : {&fast, &plain}) {
      startSystem(*f, 60);
      f->g.rng.seed(46);
    }
    fast.g.speed.setLevel(c.level);
    fast.wait(15 * c.periods);
    plain.wait(15 * c.plainPeriods);
    SCOPED_TRACE(c.level);
    expectSameTables(fast.g, plain.g);
  }
}

TEST(Speed, TheClockKeepsRealTimeAndTheChoiceOutlivesPauses) {
  GameFixture fast;
  GameFixture plain;
  for (GameFixture* f : {&fast, &plain}) startSystem(*f, 20);
  fast.g.speed.setLevel(3);
  fast.wait(5000);
  plain.wait(5000);
  EXPECT_EQ(fast.g.Label2->caption(), plain.g.Label2->caption());
  EXPECT_EQ(fast.g.world.ElapsedSeconds, plain.g.world.ElapsedSeconds);
  EXPECT_EQ(fast.g.world.StableSeconds, plain.g.world.StableSeconds);

  pauseOrResume(fast);
  pauseOrResume(fast);
  fast.click(*fast.g.Command2);  // "Go" starts a new system at the same speed
  EXPECT_EQ(fast.g.speed.caption(), "x8");
}

TEST(Speed, NamesCaptionsAndLimits) {
  TimeSpeed s;
  EXPECT_EQ(s.caption(), "x1");
  const char* const names[] = {"1/8", "1/4", "1/2", "1", "2", "4", "8"};
  const char* const captions[] = {"x1/8", "x1/4", "x1/2", "x1", "x2", "x4", "x8"};
  for (int i = 0; i < 7; ++i) {
    const auto level = TimeSpeed::parse(names[i]);
    ASSERT_TRUE(level) << names[i];
    s.setLevel(*level);
    EXPECT_EQ(s.caption(), captions[i]);
  }
  for (const char* bad : {"", "3", "16", "1/3", "1/16", "x2", "08", "2 ", "-1", "0"}) {
    EXPECT_FALSE(TimeSpeed::parse(bad)) << bad;
  }
  s.faster();
  EXPECT_EQ(s.caption(), "x8");
  for (int i = 0; i < 10; ++i) s.slower();
  EXPECT_EQ(s.caption(), "x1/8");
  // One tick on every eighth period.
  int ticks = 0;
  for (int i = 0; i < 64; ++i) ticks += s.ticksForPeriod();
  EXPECT_EQ(ticks, 8);
}

TEST(Speed, BehindWhileThePeriodsOverrunAndASecondAfter) {
  TimeSpeed s;
  s.setLevel(3);
  s.setRunning(true);
  int changes = 0;
  s.onCaptionChange = [&] { ++changes; };
  s.reportPeriod(10, 15, 1000);
  EXPECT_FALSE(s.behind());
  s.reportPeriod(16, 15, 1015);
  EXPECT_EQ(s.caption(), "x8 behind");
  s.reportPeriod(5, 15, 1500);
  EXPECT_TRUE(s.behind());
  s.reportPeriod(20, 15, 1600);
  s.reportPeriod(5, 15, 2500);
  EXPECT_TRUE(s.behind());  // the last overrun was at 1600
  s.reportPeriod(5, 15, 2600);
  EXPECT_EQ(s.caption(), "x8");
  EXPECT_EQ(changes, 2);
  s.setLevel(1);
  EXPECT_EQ(changes, 3);
}

// A handler that takes its whole period still keeps pace: only a longer one overran.
TEST(Speed, APeriodTakenExactlyIsNoOverrun) {
  TimeSpeed s;
  s.setRunning(true);
  int changes = 0;
  s.onCaptionChange = [&] { ++changes; };
  s.reportPeriod(15, 15, 1000);
  s.reportPeriod(40, 40, 1040);
  EXPECT_FALSE(s.behind());
  EXPECT_EQ(changes, 0);
  s.reportPeriod(16, 15, 1055);
  EXPECT_TRUE(s.behind());
}

// "behind" describes a running game only; a period that ends after the stop (the
// tick that ended the game) does not set it again.
TEST(Speed, BehindOnlyWhileRunningAndUntilASecondWithoutAnOverrun) {
  TimeSpeed s;
  s.reportPeriod(20, 15, 1000);
  EXPECT_FALSE(s.behind());
  s.setRunning(true);
  s.reportPeriod(20, 15, 1000);
  EXPECT_EQ(s.caption(), "x1 behind");
  s.settle(1999);
  EXPECT_TRUE(s.behind());
  s.settle(2000);
  EXPECT_EQ(s.caption(), "x1");

  s.reportPeriod(20, 15, 3000);
  ASSERT_TRUE(s.behind());
  s.setRunning(false);
  EXPECT_EQ(s.caption(), "x1");
  s.reportPeriod(20, 15, 3015);
  EXPECT_FALSE(s.behind());
}

TEST(Speed, BehindIsClearedOnPauseOnOpenAndASecondAfterTheLastOverrun) {
  GameFixture f;
  Game& g = f.g;
  f.click(*g.CDp[kPresetTwinNova]);
  f.click(*g.Command2);
  auto overrun = [&] {
    g.speed.reportPeriod(g.Ti->interval() + 5, g.Ti->interval(), f.clock.nowMs());
  };
  overrun();
  ASSERT_EQ(g.speed.caption(), "x1 behind");
  pauseOrResume(f);
  EXPECT_EQ(g.speed.caption(), "x1");

  pauseOrResume(f);
  overrun();
  ASSERT_TRUE(g.speed.behind());
  ASSERT_EQ(openSystem(g, captureSystem(g)), std::nullopt);
  EXPECT_FALSE(g.speed.behind());

  // A period far longer than a second: the clock's timer lets "behind" go.
  pauseOrResume(f);
  g.Ti->setInterval(5000);
  overrun();
  f.wait(970);
  EXPECT_TRUE(g.speed.behind());
  f.wait(60);
  EXPECT_FALSE(g.speed.behind());
  EXPECT_TRUE(g.Ti->enabled());
}

}  // namespace
}  // namespace velmora
