// Saved systems and the real window (offscreen): every file the window or the
// runner saves opens again, with the W, H and picture it was saved with, whatever
// field was opened before and however the player resized the window; and a save
// applies a value typed and not yet left, so that the file and the game agree.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <sstream>
#include <string>

#include "form/player.h"
#include "platform/system_file.h"
#include "qt/field_canvas.h"
#include "qt/game_session.h"
#include "qt/main_window_view.h"
#include "qt/model_call.h"
#include "script/runner.h"
#include "state/game.h"
#include "state/tally_storage.h"

namespace velmora::qt {
namespace {

// Plays `script` in the runner; what it printed (a refused file prints its message).
std::string playScript(const std::string& script) {
  MemoryTallyStorage tally;
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(runScript(script, tally, out, err), 0) << err.str();
  return out.str();
}

std::string sizeLines(int w, int h) {
  return "Fs7.Width=" + std::to_string(w) + "\nFs7.Height=" + std::to_string(h) + "\n";
}

class WindowSavesTest : public ::testing::Test {
 protected:
  WindowSavesTest() { session.start(); }

  std::string path(const char* name) const { return dir.filePath(name).toStdString(); }
  MainWindowView& window() { return session.mainWindow(); }

  void play(Control& c) {
    ModelCall call;
    playerClick(c);
  }

  // Saves from the window and opens the file again, in the runner and in the
  // window: both take it, with the window's size as it was saved.
  void expectSaveOpensAgain(const char* name) {
    SCOPED_TRACE(name);
    const std::string file = path(name);
    const int w = g.W();
    const int h = g.H();
    ASSERT_EQ(saveSystemFile(g, file), std::nullopt);
    EXPECT_EQ(playScript("open " + file + "\nprint Fs7.Width Fs7.Height\n"), sizeLines(w, h));
    ASSERT_EQ(openSystemFile(g, file), std::nullopt);
    expectField(w, h);
  }

  // The game's window, its picture and the field shown all of one size.
  void expectField(int w, int h) {
    EXPECT_EQ(g.W(), w);
    EXPECT_EQ(g.H(), h);
    EXPECT_EQ(g.surface.width(), Surface::fieldWidthFor(w));
    EXPECT_EQ(g.surface.height(), Surface::fieldHeightFor(h));
    const QSize field = window().canvas().size();
    EXPECT_EQ(
        field,
        QSize(g.surface.width(), g.surface.height()).expandedTo(window().canvas().minimumSize()));
  }

  QTemporaryDir dir;
  GameSession session{dir.filePath("tallyho.ogg").toStdString()};
  Game& g = session.game();
};

// 16000 x 12000 twips is 1006.67 x 780 pixels; 1000 x 700 is smaller than the
// least field the window shows.
TEST_F(WindowSavesTest, EveryFileSavedOpensAgainWithItsOwnFieldAndAfterAResize) {
  for (const auto& [w, h] : {std::pair(16000, 12000), std::pair(1000, 700)}) {
    SCOPED_TRACE(w);
    const std::string made = path("runner.velmora");
    const std::string size = "size " + std::to_string(w) + " " + std::to_string(h) + "\n";
    EXPECT_EQ(playScript(size + "click CDp(2)\nclick Command2\nwait 600\nsave " + made + "\nopen " +
                         made + "\nprint Fs7.Width Fs7.Height\n"),
              sizeLines(w, h));

    ASSERT_EQ(openSystemFile(g, made), std::nullopt);
    expectField(w, h);
    play(*g.Command5);  // runs in the window, with the saved field
    QTest::qWait(200);
    play(*g.Command5);
    expectField(w, h);
    expectSaveOpensAgain("window.velmora");

    // The player's resize gives the field whole pixels, and that is saved.
    window().resize(window().size() + QSize(170, 130));
    const QSize field = window().canvas().size();
    expectField(900 + field.width() * 15, field.height() * 15 + 300);
    expectSaveOpensAgain("resized.velmora");
  }
}

// Ctrl+Shift+S with "300" typed into the planet radius and not yet left.
TEST_F(WindowSavesTest, ASaveAppliesAValueTypedAndNotYetLeft) {
  play(*g.CDp[2]);
  play(*g.Command2);
  play(*g.Command5);
  window().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
  auto* radius = qobject_cast<QLineEdit*>(session.widget(*g.Text1));
  radius->setFocus();
  radius->selectAll();
  QTest::keyClicks(radius, "300");
  ASSERT_EQ(g.Text1->text(), "300");
  ASSERT_NE(g.world.PlanetRadius, 300);

  const std::string file = path("typed.velmora");
  bool answered = false;
  QTimer dialogWatch;
  QObject::connect(&dialogWatch, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr || answered) return;
    answered = true;
    dialog->selectFile(QString::fromStdString(file));
    QMetaObject::invokeMethod(dialog, "accept");
  });
  dialogWatch.start(10);
  QTest::keyClick(&window(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_TRUE(answered);

  EXPECT_EQ(g.world.PlanetRadius, 300);
  EXPECT_EQ(playScript("open " + file + "\nprint PlanetRadius Text1.Text\n"),
            "PlanetRadius=300\nText1.Text=300\n");
}

// The runner's "type" leaves a value unapplied, as the window's typing does.
TEST(RunnerSave, ASaveAppliesAValueTypedAndNotYetLeft) {
  QTemporaryDir dir;
  const std::string file = dir.filePath("typed.velmora").toStdString();
  EXPECT_EQ(playScript("click CDp(2)\nclick Command2\nclick Command5\ntype Text1 300\nsave " +
                       file + "\nprint PlanetRadius\nopen " + file + "\nprint PlanetRadius\n"),
            "PlanetRadius=300\nPlanetRadius=300\n");
}

}  // namespace
}  // namespace velmora::qt
