#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "form/clock.h"
#include "form/form.h"
#include "form/scheduler.h"

namespace velmora {
namespace {

TEST(FormModel, CheckBoxRaisesClickOnlyOnChange) {
  VirtualClock clock;
  Form f("F", clock);
  Control& box = f.add(Kind::CheckBox, "Box");
  int clicks = 0;
  box.onClick = [&] { ++clicks; };
  box.setValue(1);
  box.setValue(1);
  box.setValue(0);
  EXPECT_EQ(clicks, 2);
}

TEST(FormModel, OptionGroupSelectsOneAndRaisesOnSelect) {
  VirtualClock clock;
  Form f("F", clock);
  std::vector<int> clicked;
  Control* opts[3];
  for (int i = 0; i < 3; ++i) {
    opts[i] = &f.add(Kind::OptionButton, "Opt", i);
    opts[i]->onClick = [&clicked, i] { clicked.push_back(i); };
  }
  opts[1]->setValue(1);
  opts[2]->setValue(1);
  opts[2]->setValue(1);  // already selected: nothing
  opts[2]->setValue(0);  // unselecting raises nothing
  EXPECT_EQ(clicked, (std::vector<int>{1, 2}));
  EXPECT_FALSE(opts[1]->selected());
  EXPECT_FALSE(opts[2]->selected());
}

TEST(FormModel, ScrollBarClampsAndNestsChange) {
  VirtualClock clock;
  Form f("F", clock);
  Control& bar = f.add(Kind::ScrollBar, "Bar");
  bar.setMin(0);
  bar.setMax(10);
  std::vector<int> seen;
  bar.onChange = [&] {
    seen.push_back(bar.value());
    if (bar.value() == 3) bar.setValue(4);  // nested change runs before the outer returns
  };
  bar.setValue(3);
  bar.setValue(99);
  EXPECT_EQ(seen, (std::vector<int>{3, 4, 10}));
  bar.setMax(5);  // the value follows the range and raises Change
  EXPECT_EQ(bar.value(), 5);
}

TEST(FormModel, FocusMovesRaiseLostFocusEveryTime) {
  VirtualClock clock;
  Form f("F", clock);
  Control& a = f.add(Kind::TextBox, "A");
  Control& b = f.add(Kind::TextBox, "B");
  int lostA = 0;
  a.onLostFocus = [&] { ++lostA; };
  f.focus(&a);
  f.focus(&b);  // unchanged text: LostFocus all the same
  EXPECT_EQ(lostA, 1);
  f.leave(a);  // a had no focus, but the player's leave still runs it
  EXPECT_EQ(lostA, 2);
  EXPECT_EQ(f.focused(), &b);
}

TEST(Scheduler, TimersTickInTimeOrderWithTiesByCreation) {
  VirtualClock clock;
  Form f("F", clock);
  std::vector<std::string> log;
  Control& fast = f.add(Kind::Timer, "Fast");
  Control& slow = f.add(Kind::Timer, "Slow");
  fast.setInterval(15);
  slow.setInterval(30);
  fast.onTimer = [&] { log.push_back("F" + std::to_string(clock.nowMs())); };
  slow.onTimer = [&] { log.push_back("S" + std::to_string(clock.nowMs())); };
  slow.setEnabled(true);
  fast.setEnabled(true);
  advanceTimers(f, clock, 30);
  EXPECT_EQ(log, (std::vector<std::string>{"F15", "F30", "S30"}));
}

TEST(Scheduler, RestartGivesFreshPeriodAndZeroNeverTicks) {
  VirtualClock clock;
  Form f("F", clock);
  Control& t = f.add(Kind::Timer, "T");
  Control& silent = f.add(Kind::Timer, "Z");
  int ticks = 0;
  int silentTicks = 0;
  t.onTimer = [&] { ++ticks; };
  silent.onTimer = [&] { ++silentTicks; };
  silent.setEnabled(true);  // interval 0
  t.setInterval(100);
  t.setEnabled(true);
  advanceTimers(f, clock, 60);
  t.setEnabled(false);
  t.setEnabled(true);  // due again 100 ms from now, at 160
  advanceTimers(f, clock, 99);
  EXPECT_EQ(ticks, 0);
  advanceTimers(f, clock, 1);
  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(silentTicks, 0);
}

// A tick that stops its own timer is its last, and a timer stopped by another's
// tick at the same moment does not tick then either.
TEST(Scheduler, ATimerStoppedInATickTicksNoMore) {
  VirtualClock clock;
  Form f("F", clock);
  Control& first = f.add(Kind::Timer, "First");
  Control& second = f.add(Kind::Timer, "Second");
  int firstTicks = 0;
  int secondTicks = 0;
  first.onTimer = [&] {
    if (++firstTicks == 3) {
      first.setEnabled(false);
      second.setEnabled(false);
    }
  };
  second.onTimer = [&] { ++secondTicks; };
  for (Control* t : {&first, &second}) {
    t->setInterval(10);
    t->setEnabled(true);
  }
  advanceTimers(f, clock, 1000);
  EXPECT_EQ(firstTicks, 3);
  EXPECT_EQ(secondTicks, 2);  // due at 30 with the first, after it
  EXPECT_EQ(clock.nowMs(), 1000);
}

TEST(VirtualClockTest, TimeOfDayAdvancesAcrossMidnight) {
  VirtualClock clock;
  EXPECT_EQ(clock.timeOfDay(), "12:00:00");
  clock.setTimeOfDay(23, 59, 59);
  clock.advanceTo(clock.nowMs() + 1500);
  EXPECT_EQ(clock.timeOfDay(), "00:00:00");
}

}  // namespace
}  // namespace velmora
