// The timeline bar under the field and the timeline's keys in the real window
// (offscreen): the bar follows the game, a slider let go seeks, the keys move along
// the timeline and undo and redo the editor's edits, all only while paused.
#include <gtest/gtest.h>

#include <QLabel>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

#include "app/timeline.h"
#include "form/player.h"
#include "qt/field_canvas.h"
#include "qt/game_session.h"
#include "qt/main_window_view.h"
#include "qt/model_call.h"
#include "qt/timeline_bar.h"
#include "state/game.h"

namespace velmora::qt {
namespace {

TEST(TimelineBar, FollowsTheGameAndMovesItAlongItsTimeline) {
  QTemporaryDir dir;
  GameSession session(dir.filePath("tallyho.ogg").toStdString());
  session.start();
  Game& g = session.game();
  MainWindowView& window = session.mainWindow();
  TimelineBar& bar = window.timeline();
  QSlider& slider = bar.slider();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  EXPECT_EQ(bar.geometry().top(), window.canvas().geometry().bottom() + 1) << "under the field";
  EXPECT_EQ(bar.height(), TimelineBar::kHeight);

  {
    ModelCall call;
    playerClick(*g.CDp[kPresetTwinNova]);
    playerClick(*g.Command2);
  }
  bar.follow();
  EXPECT_FALSE(slider.isEnabled()) << "running: nothing to drag";
  QTest::keyClick(&window, Qt::Key_P, Qt::ControlModifier);
  ASSERT_FALSE(g.Ti->enabled());
  const long long start = g.timeline->tick();
  for (int i = 0; i < 40; ++i) QTest::keyClick(&window, Qt::Key_F6);
  ASSERT_EQ(g.timeline->tick(), start + 40);
  bar.follow();
  EXPECT_TRUE(slider.isEnabled());
  EXPECT_EQ(slider.maximum(), start + 40);
  EXPECT_EQ(slider.value(), start + 40);

  QTest::keyClick(&window, Qt::Key_F6, Qt::ShiftModifier);
  EXPECT_EQ(g.timeline->tick(), start + 39);
  QTest::keyClick(&window, Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(g.timeline->tick(), 0);
  bar.follow();
  EXPECT_EQ(slider.value(), 0);
  EXPECT_EQ(bar.label().text().toStdString(), "tick 0, 0.00 s");
  QTest::keyClick(&window, Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(g.timeline->tick(), start + 40);

  slider.setValue(10);  // as a drag let go there
  EXPECT_EQ(g.timeline->tick(), 10);
  bar.follow();
  EXPECT_EQ(
      bar.label().text().toStdString(),
      "tick 10, " + QString::number(10 * g.Ti->interval() / 1000.0, 'f', 2).toStdString() + " s");

  // Undo and redo of an editor edit.
  const int body = std::stoi(g.TXTOden->text());
  const int16_t off = g.world.PlanetOff[body];
  {
    ModelCall call;
    playerClick(*g.Chon);
  }
  ASSERT_NE(g.world.PlanetOff[body], off);
  QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(g.world.PlanetOff[body], off);
  QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_NE(g.world.PlanetOff[body], off);

  // Running again: the keys do nothing.
  QTest::keyClick(&window, Qt::Key_P, Qt::ControlModifier);
  ASSERT_TRUE(g.Ti->enabled());
  const long long running = g.timeline->tick();
  QTest::keyClick(&window, Qt::Key_Home, Qt::ControlModifier);
  EXPECT_GE(g.timeline->tick(), running);
}

}  // namespace
}  // namespace velmora::qt
