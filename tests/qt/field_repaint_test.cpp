// What the real window (offscreen) has on screen of the field, read back from its
// backing store rather than painted afresh: after a pause it is the game's picture,
// also when part of the field was repainted before the whole of it.
#include <gtest/gtest.h>

#include <QPaintEvent>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include "form/player.h"
#include "qt/field_canvas.h"
#include "qt/game_session.h"
#include "qt/main_window_view.h"
#include "qt/model_call.h"
#include "state/game.h"

namespace velmora::qt {
namespace {

// Counts the paints of a widget.
class PaintCount : public QObject {
 public:
  explicit PaintCount(QWidget& w) { w.installEventFilter(this); }
  int n = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++n;
    return false;
  }
};

class FieldRepaintTest : public ::testing::Test {
 protected:
  FieldRepaintTest() {
    session.start();
    {
      ModelCall call;
      playerClick(*g.CDp[kPresetTwinNova]);
      playerClick(*g.Command2);
    }
  }

  FieldCanvas& canvas() { return session.mainWindow().canvas(); }

  void play(Control& c) {
    ModelCall call;
    playerClick(c);
  }

  // Picture pixels the screen shows otherwise, outside what stands on the field;
  // the first few named.
  int stalePixels(std::string& which) {
    MainWindowView& w = session.mainWindow();
    FieldCanvas& field = canvas();
    const QPoint at = field.mapTo(&w, QPoint(0, 0));
    const QImage shown =
        w.screen()->grabWindow(w.winId(), at.x(), at.y(), field.width(), field.height()).toImage();
    QRegion covered;
    for (const QWidget* mark : field.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (mark->isVisible()) covered += mark->geometry();
    }
    const Surface& s = g.surface;
    int stale = 0;
    for (int y = 0; y < s.height(); ++y) {
      for (int x = 0; x < s.width(); ++x) {
        if (covered.contains(QPoint(x, y))) continue;
        if ((shown.pixel(x, y) | 0xFF000000u) == (s.pixel(x, y) | 0xFF000000u)) continue;
        if (++stale <= 3) which += " (" + std::to_string(x) + ", " + std::to_string(y) + ")";
      }
    }
    return stale;
  }

  QTemporaryDir dir;
  GameSession session{dir.filePath("tallyho.ogg").toStdString()};
  Game& g = session.game();
};

TEST_F(FieldRepaintTest, ThePausedFieldShowsTheLastTickAfterEveryPause) {
  for (int pause = 0; pause < 6; ++pause) {
    QTest::qWait(90 + 7 * pause);
    play(*g.Command5);
    ASSERT_FALSE(g.Ti->enabled());
    QTest::qWait(60);
    std::string which;
    EXPECT_EQ(stalePixels(which), 0) << "pause " << pause << which;
    play(*g.Command5);
  }
}

// A partial repaint (a mark shown or moved) between a change of the picture and
// the next frame must not count the whole picture as shown.
TEST_F(FieldRepaintTest, APartialRepaintLeavesTheRestOfANewPictureToTheNextFrame) {
  play(*g.Command5);
  QTest::qWait(60);
  g.surface.plot(900 + 15 * 300, 15 * 200, {255, 0, 0});
  canvas().repaint(QRect(0, 0, 4, 4));
  QTest::qWait(60);
  std::string which;
  EXPECT_EQ(stalePixels(which), 0) << which;
}

// A field that shows its picture is not painted again while nothing changes,
// whatever stands on it.
TEST_F(FieldRepaintTest, AnUnchangedFieldIsNotPaintedFrameAfterFrame) {
  play(*g.Command5);
  g.TiF->setEnabled(false);  // the marker's blink repaints the field under it
  // The exact future is drawn when it is ready, later on a loaded machine.
  ASSERT_TRUE(QTest::qWaitFor([this] { return canvas().hands().previewReady(); }, 20000));
  QTest::qWait(60);
  PaintCount paints(canvas());
  QTest::qWait(200);
  EXPECT_EQ(paints.n, 0);
}

}  // namespace
}  // namespace velmora::qt
