// "Export video..." in the real window (offscreen): the dialog's defaults, an
// export of the timeline up to the current moment through the progress dialog,
// and a cancel; the game stays paused and unchanged.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProgressDialog>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <tuple>

#include "app/timeline.h"
#include "form/player.h"
#include "helpers/video_frames.h"
#include "platform/field_frame.h"
#include "qt/game_session.h"
#include "qt/main_window_view.h"
#include "qt/model_call.h"
#include "qt/video_export.h"
#include "qt/video_export_dialog.h"
#include "script/world_items.h"
#include "state/game.h"

namespace velmora::qt {
namespace {

using velmora::test::commandOutput;
using velmora::test::rgbOf;

// Every frame of an APNG as FFmpeg decodes it, rgb24.
std::string decodedFrames(const QString& path) {
  return commandOutput("ffmpeg -nostdin -v error -i '" + path.toStdString() +
                       "' -f rawvideo -pix_fmt rgb24 -");
}

class VideoExportWindow : public ::testing::Test {
 protected:
  VideoExportWindow() {
    QSettings().remove("videos/folder");
    session.start();
    {
      ModelCall call;
      playerClick(*g.CDp[kPresetTwinNova]);
      playerClick(*g.Command2);
    }
    window().activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window()));
    QTest::keyClick(&window(), Qt::Key_P, Qt::ControlModifier);
    // Paused: 30 steps along the timeline.
    for (int i = 0; i < 30; ++i) QTest::keyClick(&window(), Qt::Key_F6);
  }
  ~VideoExportWindow() override { QSettings().remove("videos/folder"); }

  MainWindowView& window() { return session.mainWindow(); }
  auto state() const {
    return std::tuple(worldHash(g.world), g.rng.state(), g.rng.draws(), g.surface.pixels(),
                      g.timeline->tick(), g.timeline->keyframeTicks(), g.Ti->enabled());
  }

  QTemporaryDir dir;
  GameSession session{dir.filePath("tallyho.ogg").toStdString()};
  Game& g = session.game();
};

TEST_F(VideoExportWindow, TheDialogSpansTheTimelineToNowAndRemembersTheFolder) {
  const long long now = g.timeline->tick();
  ASSERT_GE(now, 30);
  VideoExportDialog dialog(&window(), g.timeline->first(), now);
  const VideoChoice c = dialog.choice();
  EXPECT_EQ(c.from, 0);
  EXPECT_EQ(c.to, now);
  EXPECT_EQ(c.every, 1);
  EXPECT_EQ(c.fps, 60);
  EXPECT_TRUE(c.path.endsWith(".mp4")) << c.path.toStdString();
  EXPECT_EQ(QFileInfo(c.path).absolutePath(), QFileInfo(videoFolder()).absoluteFilePath());

  dialog.setChoice({dir.filePath("clip"), 5, now, 3, 24});
  dialog.accept();  // no ending: MP4
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.choice().path, dir.filePath("clip.mp4"));
  EXPECT_EQ(videoFolder(), dir.path()) << "the next export starts where this one went";
}

TEST_F(VideoExportWindow, ExportsTheTimelineToNowAndLeavesTheGameAsItWas) {
  const auto before = state();
  const long long now = g.timeline->tick();
  const QString path = dir.filePath("run.apng");
  const ExportResult r = exportVideoNow(&window(), g, {path, 0, now, 3, 30});
  ASSERT_EQ(r.end, ExportResult::End::kWritten) << r.why;
  EXPECT_TRUE(state() == before) << "paused and unchanged";
  EXPECT_FALSE(g.Ti->enabled());

  // Each frame is its moment as the timeline shows it.
  const std::string video = decodedFrames(path);
  const std::string last = rgbOf(playingFieldFrame(g));
  const size_t frames = static_cast<size_t>(now / 3 + 1);
  ASSERT_EQ(video.size(), frames * last.size());
  for (const size_t i : {frames - 1, frames / 2, size_t{0}}) {
    ASSERT_EQ(g.timeline->seek(g, static_cast<long long>(3 * i)), std::nullopt);
    EXPECT_TRUE(video.compare(i * last.size(), last.size(), rgbOf(playingFieldFrame(g))) == 0)
        << "frame " << i;
  }
}

TEST_F(VideoExportWindow, CancelLeavesNoFile) {
  const auto before = state();
  const QString path = dir.filePath("cancelled.apng");
  // The player presses Cancel as soon as the progress dialog shows.
  QTimer press;
  QObject::connect(&press, &QTimer::timeout, [] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* progress = qobject_cast<QProgressDialog*>(w); progress && progress->isVisible()) {
        progress->cancel();
      }
    }
  });
  press.start(20);
  const ExportResult r = exportVideoNow(&window(), g, {path, 0, g.timeline->tick(), 1, 60});
  EXPECT_EQ(r.end, ExportResult::End::kCancelled);
  EXPECT_FALSE(QFile::exists(path));
  EXPECT_EQ(QDir(dir.path()).entryList({"cancelled*"}, QDir::Files | QDir::Hidden), QStringList{});
  EXPECT_TRUE(state() == before);
}

}  // namespace
}  // namespace velmora::qt
