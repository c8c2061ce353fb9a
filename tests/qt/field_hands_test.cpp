// The hands on the paused field (offscreen), at x1 and x4: a click picks a body,
// a left drag moves it, a right drag aims it, a click on empty field picks
// nothing and pans, and the paths shown are the exact future.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <string>

#include "app/field_tools.h"
#include "app/preview.h"
#include "app/time_control.h"
#include "form/player.h"
#include "qt/field_canvas.h"
#include "qt/game_session.h"
#include "qt/main_window_view.h"
#include "qt/model_call.h"
#include "qt/timer_driver.h"
#include "state/game.h"

namespace velmora::qt {
namespace {

void wheel(QWidget* w, QPoint at, int notches) {
  QWheelEvent e(QPointF(at), QPointF(w->mapToGlobal(at)), QPoint(), QPoint(0, 120 * notches),
                Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(w, &e);
}

class FieldHandsTest : public ::testing::TestWithParam<int> {
 protected:
  FieldHandsTest() : session(dir.filePath("tallyho.ogg").toStdString()), g(session.game()) {
    session.start();
  }
  FieldCanvas& canvas() { return session.mainWindow().canvas(); }
  FieldHands& hands() { return canvas().hands(); }
  void play(Control& c) {
    ModelCall call;
    playerClick(c);
  }
  // Preset 3 from a frozen seed, paused, at the zoom of the row about body `about`.
  void pausedAtZoom(int about) {
    play(*g.CHran);
    play(*g.CDp[2]);
    play(*g.Command2);
    session.timers().stopAll();
    play(*g.Command5);
    ASSERT_TRUE(pausedForEditing(g));
    if (GetParam() > 1) {
      wheel(&canvas(), at(about), GetParam() == 4 ? 2 : 1);
      ASSERT_EQ(canvas().view().zoom(), GetParam());
    }
  }
  QPoint at(int body) {
    return hands().toWidget(QPointF(g.world.PlanetX[body], g.world.PlanetY[body])).toPoint();
  }

  QTemporaryDir dir;
  GameSession session;
  Game& g;
};

TEST_P(FieldHandsTest, AClickPicksADragMovesAndARightDragAims) {
  pausedAtZoom(5);
  ASSERT_EQ(g.TXTOden->text(), "0");
  const QPoint body = at(5);
  // Within 20 pixels at any zoom: 15 pixels off still picks body 5.
  QTest::mouseClick(&canvas(), Qt::LeftButton, Qt::NoModifier, body + QPoint(15, 0));
  EXPECT_EQ(g.TXTOden->text(), "5");
  EXPECT_EQ(g.Qui->value(), 5);

  const QPoint to = body + QPoint(-40, 25);
  QTest::mousePress(&canvas(), Qt::LeftButton, Qt::NoModifier, body);
  QTest::mouseMove(&canvas(), to);
  QTest::mouseRelease(&canvas(), Qt::LeftButton, Qt::NoModifier, to);
  const QPointF want = hands().toTwips(QPointF(to));
  EXPECT_NEAR(g.world.PlanetX[5], want.x(), 1e-6);
  EXPECT_NEAR(g.world.PlanetY[5], want.y(), 1e-6);

  const QPoint from = at(5);
  QTest::mousePress(&canvas(), Qt::RightButton, Qt::NoModifier, from);
  QTest::mouseRelease(&canvas(), Qt::RightButton, Qt::NoModifier, from + QPoint(30, -12));
  const double twipsPerPixel = 15.0 / GetParam();
  EXPECT_NEAR(g.world.MomentumX[5], 30 * twipsPerPixel / FieldHands::kArrowTicks, 0.5);
  EXPECT_NEAR(g.world.MomentumY[5], -12 * twipsPerPixel / FieldHands::kArrowTicks, 0.5);

  // Shift with the left button aims too.
  QTest::mousePress(&canvas(), Qt::LeftButton, Qt::ShiftModifier, at(5));
  QTest::mouseRelease(&canvas(), Qt::LeftButton, Qt::ShiftModifier, at(5) + QPoint(0, 20));
  EXPECT_NEAR(g.world.MomentumX[5], 0, 0.5);
  EXPECT_NEAR(g.world.MomentumY[5], 20 * twipsPerPixel / FieldHands::kArrowTicks, 0.5);
}

TEST_P(FieldHandsTest, ADragStartedOnTheMarkerMovesTheMarkedBody) {
  pausedAtZoom(5);
  QTest::mouseClick(&canvas(), Qt::LeftButton, Qt::NoModifier, at(5));
  ASSERT_EQ(g.TXTOden->text(), "5");
  QWidget* marker = session.widget(*g.Shark);
  ASSERT_TRUE(marker->isVisible());
  const QPoint centre = marker->rect().center();
  // Where the release lands on the field, before the marker follows the body there.
  const QPointF want = hands().toTwips(QPointF(marker->mapTo(&canvas(), centre + QPoint(45, 10))));
  QTest::mousePress(marker, Qt::LeftButton, Qt::NoModifier, centre);
  QTest::mouseRelease(marker, Qt::LeftButton, Qt::NoModifier, centre + QPoint(45, 10));
  EXPECT_NEAR(g.world.PlanetX[5], want.x(), 1e-6);
  EXPECT_NEAR(g.world.PlanetY[5], want.y(), 1e-6);
}

TEST_P(FieldHandsTest, EmptyFieldPicksNothingAndPans) {
  pausedAtZoom(0);
  QPoint empty(5, 5);
  ASSERT_FALSE(liveBodyNear(g, hands().toTwips(QPointF(empty)).x(),
                            hands().toTwips(QPointF(empty)).y(), kPickTwipsAtScale1));
  const QPoint origin = canvas().view().origin();
  QTest::mousePress(&canvas(), Qt::LeftButton, Qt::NoModifier, empty + QPoint(100, 100));
  QTest::mouseMove(&canvas(), empty + QPoint(120, 110));
  QTest::mouseRelease(&canvas(), Qt::LeftButton, Qt::NoModifier, empty + QPoint(120, 110));
  EXPECT_EQ(g.TXTOden->text(), "0");
  if (GetParam() > 1) {
    EXPECT_NE(canvas().view().origin(), origin);
  }
}

TEST_P(FieldHandsTest, ThePathShownEndsWhereTheGameGoes) {
  pausedAtZoom(3);
  QTest::mouseClick(&canvas(), Qt::LeftButton, Qt::NoModifier, at(3));
  ASSERT_EQ(g.TXTOden->text(), "3");
  ASSERT_TRUE(QTest::qWaitFor([this] { return hands().previewReady(); }, 20000));
  const auto& path = hands().pathOf(3);
  ASSERT_EQ(static_cast<int>(path.size()), hands().previewTicks() + 1);
  const World future = runAhead(futureStart(g), hands().previewTicks());
  EXPECT_EQ(path.back().x(), future.PlanetX[3]);
  EXPECT_EQ(path.back().y(), future.PlanetY[3]);
  EXPECT_TRUE(hands().pathOf(4).empty());  // the selected body's only, until V

  // V: every live body's; "," halves the ticks, never below the fewest.
  session.mainWindow().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&session.mainWindow()));
  QTest::keyClick(&session.mainWindow(), Qt::Key_V);
  for (int k = 0; k < 4; ++k) QTest::keyClick(&session.mainWindow(), Qt::Key_Comma);
  EXPECT_EQ(hands().previewTicks(), FieldHands::kFewestTicks);
  ASSERT_TRUE(QTest::qWaitFor([this] { return hands().previewReady(); }, 20000));
  EXPECT_EQ(static_cast<int>(hands().pathOf(4).size()), FieldHands::kFewestTicks + 1);
}

TEST_P(FieldHandsTest, KeysAddABodyUnderTheCursorAndPutItOnAnOrbit) {
  pausedAtZoom(0);
  session.mainWindow().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&session.mainWindow()));
  const QPoint spot = at(0) + QPoint(-90, 40);
  QCursor::setPos(canvas().mapToGlobal(spot));
  if (canvas().mapFromGlobal(QCursor::pos()) != spot) GTEST_SKIP() << "no cursor to move here";
  const int count = g.world.PlanetCount;
  QTest::keyClick(&session.mainWindow(), Qt::Key_A);
  const int added = std::stoi(g.TXTOden->text());
  EXPECT_TRUE(added == count + 1 || g.world.PlanetOff[added] == 0);
  const QPointF want = hands().toTwips(QPointF(spot));
  EXPECT_NEAR(g.world.PlanetX[added], want.x(), 1e-6);
  EXPECT_NEAR(g.world.PlanetY[added], want.y(), 1e-6);
  EXPECT_EQ(g.world.MomentumX[added], 0);

  QTest::keyClick(&session.mainWindow(), Qt::Key_O);
  EXPECT_NE(g.world.MomentumX[added], 0);
  EXPECT_NE(g.world.MomentumY[added], 0);
}

// Pause takes Go's place once a system runs: "New system" stands in Go's column on
// the presets' row, which is empty then, and covers no control that is shown.
TEST_P(FieldHandsTest, NewSystemStandsOnThePresetsRowAndBringsBackTheStart) {
  auto* go = qobject_cast<QPushButton*>(session.widget(*g.Command2));
  ASSERT_NE(go, nullptr);
  QWidget* preset = session.widget(*g.CDp[0]);
  ASSERT_NE(preset, nullptr);
  QPushButton* button = nullptr;
  for (auto* b : go->parentWidget()->findChildren<QPushButton*>()) {
    if (b->text() == "New system") button = b;
  }
  ASSERT_NE(button, nullptr);
  EXPECT_FALSE(button->isVisibleTo(go->parentWidget()));
  pausedAtZoom(0);
  EXPECT_TRUE(button->isVisibleTo(go->parentWidget()));
  EXPECT_EQ(button->geometry(), QRect(go->x(), preset->y(), go->width(), preset->height()));
  for (QWidget* other : go->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (other == button || !other->isVisibleTo(go->parentWidget())) continue;
    EXPECT_FALSE(button->geometry().intersects(other->geometry()))
        << other->accessibleName().toStdString() << " is under New system";
  }
  // Pause is still there to be clicked: it resumes, and pauses again.
  auto* pause = qobject_cast<QPushButton*>(session.widget(*g.Command5));
  ASSERT_NE(pause, nullptr);
  EXPECT_EQ(go->parentWidget()->childAt(pause->geometry().center()), pause);
  QTest::mouseClick(pause, Qt::LeftButton);
  EXPECT_TRUE(g.Ti->enabled());
  QTest::mouseClick(pause, Qt::LeftButton);
  EXPECT_TRUE(pausedForEditing(g));
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_TRUE(g.Command2->visible());
  EXPECT_FALSE(g.Ti->enabled());
  EXPECT_FALSE(pausedForEditing(g));
  EXPECT_FALSE(button->isVisibleTo(go->parentWidget()));
  EXPECT_EQ(g.world.PlanetX[3], 0);
}

INSTANTIATE_TEST_SUITE_P(Zoom, FieldHandsTest, ::testing::Values(1, 4),
                         [](const auto& row) { return "x" + std::to_string(row.param); });

}  // namespace
}  // namespace velmora::qt
