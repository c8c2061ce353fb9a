// The speed beside "Time" in the real window (offscreen): "behind" is shown while
// the running game's periods overrun, and is gone after a pause and an open.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include "form/player.h"
#include "platform/system_file.h"
#include "qt/game_session.h"
#include "qt/main_window_view.h"
#include "qt/model_call.h"
#include "qt/system_files.h"
#include "state/game.h"

namespace velmora::qt {
namespace {

TEST(SpeedLabel, BehindIsGoneAfterAPauseAndAfterAnOpen) {
  QTemporaryDir dir;
  GameSession session(dir.filePath("tallyho.ogg").toStdString());
  session.start();
  Game& g = session.game();
  MainWindowView& window = session.mainWindow();
  auto* speed = window.findChild<QLabel*>("speed");
  ASSERT_NE(speed, nullptr);
  // What the window's timer reports when a period cannot hold its tick.
  auto overrun = [&] {
    ModelCall call;
    g.speed.reportPeriod(g.Ti->interval() + 10, g.Ti->interval(), g.clock.nowMs());
  };
  auto pauseKey = [&] { QTest::keyClick(&window, Qt::Key_P, Qt::ControlModifier); };
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  {
    ModelCall call;
    playerClick(*g.CDp[kPresetTwinNova]);
    playerClick(*g.Command2);
  }
  overrun();
  ASSERT_EQ(speed->text().toStdString(), "x1 behind");
  pauseKey();
  ASSERT_FALSE(g.Ti->enabled());
  EXPECT_EQ(speed->text().toStdString(), "x1");
  EXPECT_FALSE(speed->toolTip().contains("slower"));

  const std::string file = dir.filePath("kept.velmora").toStdString();
  ASSERT_EQ(saveSystemFile(g, file), std::nullopt);
  pauseKey();
  overrun();
  ASSERT_EQ(speed->text().toStdString(), "x1 behind");
  ASSERT_TRUE(openSystemNow(g, QString::fromStdString(file)));
  EXPECT_EQ(speed->text().toStdString(), "x1");
}

}  // namespace
}  // namespace velmora::qt
