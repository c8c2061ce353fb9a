// Saved systems in the real window (offscreen): a dropped .velmora file opens,
// anything else dropped is left alone, the dialogs' folder is remembered.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <csignal>
#include <fstream>
#include <sstream>

#include "app/system_snapshot.h"
#include "form/player.h"
#include "platform/system_file.h"
#include "qt/game_session.h"
#include "qt/main_window_view.h"
#include "qt/system_files.h"
#include "state/game.h"

namespace velmora::qt {
namespace {

class SystemFilesTest : public ::testing::Test {
 protected:
  SystemFilesTest() { session.start(); }

  // Drags the URLs onto the main window and drops them, as a file manager does;
  // true when both are taken.
  bool drop(const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(400, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&session.mainWindow(), &enter);
    QDropEvent event(QPointF(400, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&session.mainWindow(), &event);
    return enter.isAccepted() && event.isAccepted();
  }

  // A running system of preset 3, saved.
  QString savedSystem() {
    QTemporaryDir other;
    GameSession first(other.filePath("tallyho.ogg").toStdString());
    first.start();
    playerClick(*first.game().CDp[2]);
    playerClick(*first.game().Command2);
    const QString path = dir.filePath("dropped.velmora");
    EXPECT_TRUE(saveSystemTelling(first.game(), path.toStdString()));
    savedCount = first.game().world.PlanetCount;
    return path;
  }

  int savedCount = -1;
  QTemporaryDir dir;
  GameSession session{dir.filePath("tallyho.ogg").toStdString()};
  Game& g = session.game();
};

TEST_F(SystemFilesTest, ADroppedSystemOpensPausedInTheRunningLayout) {
  const QString path = savedSystem();
  EXPECT_TRUE(drop({QUrl::fromLocalFile(path)}));
  EXPECT_TRUE(hasSystem(g));
  EXPECT_FALSE(g.Ti->enabled());
  EXPECT_FALSE(session.widget(*g.Command2)->isVisible());
  EXPECT_TRUE(session.widget(*g.Command5)->isVisible());
  EXPECT_TRUE(session.widget(*g.Frame2)->isVisible());
  EXPECT_EQ(g.world.PlanetCount, savedCount);
  EXPECT_NE(savedCount, 0);
}

TEST_F(SystemFilesTest, OtherDropsAreLeftAlone) {
  const QString path = savedSystem();
  const QString picture = dir.filePath("field.png");
  EXPECT_FALSE(drop({QUrl::fromLocalFile(picture)}));
  EXPECT_FALSE(drop({QUrl::fromLocalFile(path), QUrl::fromLocalFile(path)}));
  EXPECT_FALSE(drop({QUrl("https://example.org/a.velmora")}));
  EXPECT_FALSE(hasSystem(g));
  EXPECT_TRUE(session.widget(*g.Command2)->isVisible());
}

TEST_F(SystemFilesTest, TheDialogsStartInTheFolderLastUsed) {
  QCoreApplication::setOrganizationName("velmora-tests");
  rememberSystemFolder(dir.filePath("a.velmora"));
  EXPECT_EQ(systemFolder(), QDir(dir.path()).absolutePath());
}

std::string contents(const QString& path) {
  std::ifstream in(path.toStdString(), std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// A file size limit makes the save fail as a full disk does: the message says so
// and the file saved before stays whole.
TEST_F(SystemFilesTest, ASaveOntoAFullDiskKeepsTheEarlierFile) {
  const QString path = savedSystem();
  const std::string before = contents(path);
  playerClick(*g.Command2);
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  rlimit small = old;
  small.rlim_cur = 4096;
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const auto message = saveSystemFile(g, path.toStdString());
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);

  ASSERT_TRUE(message.has_value());
  EXPECT_EQ(message->rfind("Cannot save \"" + path.toStdString() + "\": ", 0), 0u) << *message;
  EXPECT_EQ(contents(path), before);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2) << "no leftovers";
}

}  // namespace
}  // namespace velmora::qt
