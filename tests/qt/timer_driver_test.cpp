// The real timers follow the model's: a tick that stops its own timer stops the
// real one before it can tick again.
#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>

#include "form/clock.h"
#include "form/form.h"
#include "qt/timer_driver.h"

namespace velmora::qt {
namespace {

TEST(TimerDriverTest, ATickThatStopsItsTimerIsItsLast) {
  VirtualClock clock;
  Form form("F", clock);
  Control& timer = form.add(Kind::Timer, "T");
  timer.setInterval(1);
  TimerDriver driver(form, nullptr);
  int ticks = 0;
  timer.onTimer = [&] {
    ++ticks;
    timer.setEnabled(false);
  };
  timer.setEnabled(true);
  ASSERT_TRUE(driver.timerFor(timer)->isActive());
  ASSERT_TRUE(QTest::qWaitFor([&] { return ticks > 0; }, 5000));
  EXPECT_FALSE(driver.timerFor(timer)->isActive());
  QTest::qWait(30);  // thirty of its periods
  EXPECT_EQ(ticks, 1);
}

}  // namespace
}  // namespace velmora::qt
