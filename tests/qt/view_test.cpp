// The field's magnification and pan (offscreen): the mapping of a picture pixel
// at every zoom, the keys and the mouse, the marks that follow the view, and a
// view that leaves the game as it is.
#include <gtest/gtest.h>

#include <cstdlib>

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include "form/player.h"
#include "qt/field_canvas.h"
#include "qt/field_view.h"
#include "qt/game_session.h"
#include "qt/main_window_view.h"
#include "qt/model_call.h"
#include "qt/timer_driver.h"
#include "script/world_items.h"
#include "state/game.h"

namespace velmora::qt {
namespace {

void wheel(QWidget* w, QPoint at, int notches) {
  QWheelEvent e(QPointF(at), QPointF(w->mapToGlobal(at)), QPoint(), QPoint(0, 120 * notches),
                Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(w, &e);
}

class ViewTest : public ::testing::Test {
 protected:
  ViewTest() : session(dir.filePath("tallyho.ogg").toStdString()), g(session.game()) {
    session.start();
  }
  FieldCanvas& canvas() { return session.mainWindow().canvas(); }
  // The field's own picture, without the texts and pictures standing on it.
  QImage shown() {
    QImage image(canvas().size(), QImage::Format_RGB32);
    canvas().render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    return image;
  }
  void play(Control& c) {
    ModelCall call;
    playerClick(c);
  }

  QTemporaryDir dir;
  GameSession session;
  Game& g;
};

TEST(FieldViewMapping, APicturePixelIsAZoomSquareUnderTheAnchorAtEveryZoom) {
  FieldView v;
  v.setSizes(QSize(800, 600), QSize(800, 600));
  const QPoint anchor(301, 207);
  const QPoint under = v.toPicture(anchor);
  EXPECT_EQ(under, anchor);
  for (int zoom : {2, 4, 8, 16}) {
    ASSERT_TRUE(v.zoomAbout(anchor, 1));
    ASSERT_EQ(v.zoom(), zoom);
    EXPECT_EQ(v.toPicture(anchor), under) << zoom;  // the spot under the cursor stays
    const QPoint corner = v.toWidget(under);
    EXPECT_EQ(v.toPicture(corner), under);
    EXPECT_EQ(v.toPicture(corner + QPoint(zoom - 1, zoom - 1)), under);
    EXPECT_EQ(v.toPicture(corner + QPoint(zoom, 0)), under + QPoint(1, 0));
    EXPECT_EQ(v.toPicture(corner - QPoint(1, 1)), under - QPoint(1, 1));
  }
  EXPECT_FALSE(v.zoomAbout(anchor, 1));  // x16 is the most
  // The view never leaves the picture: at the far corner the last pixel is last.
  v.panBy(QPoint(-100000, -100000));
  EXPECT_EQ(v.toPicture(QPoint(799, 599)), QPoint(799, 599));
  v.panBy(QPoint(100000, 100000));
  EXPECT_EQ(v.origin(), QPoint(0, 0));
  EXPECT_TRUE(v.zoomAbout(anchor, -4));
  EXPECT_EQ(v.zoom(), 1);
  EXPECT_EQ(v.origin(), QPoint(0, 0));
  EXPECT_FALSE(v.reset());
}

TEST_F(ViewTest, TheFieldShowsEachPixelAsASquareAtEveryZoom) {
  const QPoint pixel(200, 150);
  g.surface.plot(kFieldLeft + 15 * pixel.x(), 15 * pixel.y(), {255, 0, 0});
  const QPoint cursor(203, 149);
  for (int zoom = 1; zoom <= 16; zoom *= 2) {
    if (zoom > 1) wheel(&canvas(), cursor, 1);
    const FieldView& v = canvas().view();
    ASSERT_EQ(v.zoom(), zoom);
    const QImage image = shown();
    const QPoint corner = v.toWidget(pixel);
    for (int dy = -1; dy <= zoom; ++dy) {
      for (int dx = -1; dx <= zoom; ++dx) {
        const bool inside = dx >= 0 && dy >= 0 && dx < zoom && dy < zoom;
        EXPECT_EQ(image.pixelColor(corner + QPoint(dx, dy)), inside ? Qt::red : Qt::black)
            << "zoom " << zoom << " at " << dx << "," << dy;
      }
    }
  }
  wheel(&canvas(), cursor, 1);
  EXPECT_EQ(canvas().view().zoom(), 16);
}

// Where the picture does not reach (a surface smaller than the field, for a moment),
// the field is black, at x1 and zoomed, and the picture is drawn where it is.
TEST_F(ViewTest, TheFieldIsBlackWhereThePictureLeavesItBare) {
  const QSize field = canvas().size();
  g.surface.resizeForWindow(kFieldLeft + 15 * (field.width() / 2), 15 * (field.height() / 2));
  const QPoint pixel(20, 10);
  g.surface.plot(kFieldLeft + 15 * pixel.x(), 15 * pixel.y(), {255, 0, 0});
  for (int zoom = 1; zoom <= 2; zoom *= 2) {
    if (zoom > 1) wheel(&canvas(), QPoint(0, 0), 1);
    ASSERT_EQ(canvas().view().zoom(), zoom);
    QImage image(field, QImage::Format_RGB32);
    image.fill(Qt::green);  // what a widget that skipped a part would show
    canvas().render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    EXPECT_EQ(image.pixelColor(canvas().view().toWidget(pixel)), Qt::red) << zoom;
    int green = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) green += image.pixelColor(x, y) == Qt::green;
    }
    EXPECT_EQ(green, 0) << zoom;
    EXPECT_EQ(image.pixelColor(field.width() - 1, field.height() - 1), Qt::black) << zoom;
  }
}

TEST_F(ViewTest, KeysWheelDragAndMiddleDoubleClick) {
  MainWindowView& w = session.mainWindow();
  w.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  FieldCanvas& field = canvas();
  QTest::keyClick(&w, Qt::Key_Equal, Qt::ControlModifier);
  EXPECT_EQ(field.view().zoom(), 2);
  QTest::keyClick(&w, Qt::Key_Equal, Qt::ControlModifier);
  EXPECT_EQ(field.view().zoom(), 4);
  QTest::keyClick(&w, Qt::Key_Minus, Qt::ControlModifier);
  EXPECT_EQ(field.view().zoom(), 2);

  // Dragging moves the picture with the mouse.
  const QPoint from(400, 300);
  const QPoint before = field.view().toPicture(from);
  QTest::mousePress(&field, Qt::LeftButton, Qt::NoModifier, from);
  QTest::mouseMove(&field, from + QPoint(40, 20));
  QTest::mouseRelease(&field, Qt::LeftButton, Qt::NoModifier, from + QPoint(40, 20));
  EXPECT_EQ(field.view().toPicture(from + QPoint(40, 20)), before);

  QTest::keyClick(&w, Qt::Key_0, Qt::ControlModifier);
  EXPECT_EQ(field.view().zoom(), 1);
  EXPECT_EQ(field.view().origin(), QPoint(0, 0));

  wheel(&field, from, 3);
  EXPECT_EQ(field.view().zoom(), 8);
  QTest::mouseDClick(&field, Qt::LeftButton, Qt::NoModifier, from);
  EXPECT_EQ(field.view().zoom(), 8);  // only the middle button goes back
  QTest::mouseDClick(&field, Qt::MiddleButton, Qt::NoModifier, from);
  EXPECT_EQ(field.view().zoom(), 1);
}

TEST_F(ViewTest, SpeedAndStepKeys) {
  MainWindowView& w = session.mainWindow();
  w.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  auto* speed = w.panel().findChild<QLabel*>("speed");
  ASSERT_NE(speed, nullptr);
  EXPECT_EQ(speed->text(), "x1");
  QTest::keyClick(&w, Qt::Key_BracketRight, Qt::ControlModifier);
  QTest::keyClick(&w, Qt::Key_BracketRight, Qt::ControlModifier);
  EXPECT_EQ(speed->text(), "x4");
  for (int i = 0; i < 4; ++i) QTest::keyClick(&w, Qt::Key_BracketLeft, Qt::ControlModifier);
  EXPECT_EQ(speed->text(), "x1/4");
  EXPECT_EQ(g.speed.level(), -2);

  play(*g.CDp[4]);
  play(*g.Command2);
  session.timers().stopAll();  // the ticks below are the only ones
  const double x = g.world.PlanetX[5];
  QTest::keyClick(&w, Qt::Key_T, Qt::ControlModifier);  // running: no step
  EXPECT_EQ(g.world.PlanetX[5], x);
  play(*g.Command5);
  const auto hashPaused = worldHash(g.world);
  QTest::keyClick(&w, Qt::Key_F6);
  EXPECT_NE(worldHash(g.world), hashPaused);
  EXPECT_FALSE(g.Ti->enabled());
}

TEST_F(ViewTest, TheMarksFollowTheViewAndStayClickable) {
  play(*g.CDp[4]);
  play(*g.Command2);
  session.timers().stopAll();
  play(*g.Command5);
  QWidget* marker = session.widget(*g.Shark);
  ASSERT_TRUE(marker->isVisible());
  const QPoint body(static_cast<int>((g.world.PlanetX[0] - kFieldLeft) / 15),
                    static_cast<int>(g.world.PlanetY[0] / 15));
  const QSize size = marker->size();
  wheel(&canvas(), body + QPoint(30, 10), 2);
  const FieldView& v = canvas().view();
  ASSERT_EQ(v.zoom(), 4);
  // The marker's middle is on the body's square, its size as at x1.
  const QPoint square = v.toWidget(body);
  EXPECT_EQ(marker->size(), size);
  EXPECT_LE(std::abs(marker->geometry().center().x() - (square.x() + 2)), 4);
  EXPECT_LE(std::abs(marker->geometry().center().y() - (square.y() + 2)), 4);
  EXPECT_EQ(canvas().childAt(marker->geometry().center()), marker);
  // A step moves the body: the marker follows it in the view.
  session.mainWindow().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&session.mainWindow()));
  QTest::keyClick(&session.mainWindow(), Qt::Key_F6);
  const QRect laidOut(static_cast<int>(g.Shark->left() - kFieldLeft) / 15, g.Shark->top() / 15,
                      size.width(), size.height());
  EXPECT_EQ(marker->geometry(), v.follow(laidOut));
}

TEST(ViewOnly, ZoomedAndUnzoomedRunsGiveTheSameTablesAndPicture) {
  QTemporaryDir dir;
  GameSession zoomed(dir.filePath("a.ogg").toStdString());
  GameSession plain(dir.filePath("b.ogg").toStdString());
  for (GameSession* s : {&zoomed, &plain}) {
    s->start();
    Game& g = s->game();
    ModelCall call;
    playerClick(*g.CHran);  // a frozen seed
    playerClick(*g.CDp[4]);
    playerClick(*g.Command2);
    s->timers().stopAll();
  }
  FieldCanvas& field = zoomed.mainWindow().canvas();
  for (int i = 0; i < 120; ++i) {
    if (i % 20 == 0) {
      wheel(&field, QPoint(100 + 3 * i, 80 + 2 * i), i < 80 ? 1 : -1);
      QTest::mousePress(&field, Qt::LeftButton, Qt::NoModifier, QPoint(300, 300));
      QTest::mouseMove(&field, QPoint(300 - i, 300 - i / 2));
      QTest::mouseRelease(&field, Qt::LeftButton, Qt::NoModifier, QPoint(300 - i, 300 - i / 2));
      (void)field.grab();
    }
    for (GameSession* s : {&zoomed, &plain}) {
      ModelCall call;
      Control::raise(s->game().Ti->onTimer);
    }
  }
  EXPECT_GT(field.view().zoom(), 1);
  EXPECT_NE(field.grab().toImage(), plain.mainWindow().canvas().grab().toImage());
  EXPECT_EQ(worldHash(zoomed.game().world), worldHash(plain.game().world));
  EXPECT_EQ(zoomed.game().surface.pixels(), plain.game().surface.pixels());
}

}  // namespace
}  // namespace velmora::qt
