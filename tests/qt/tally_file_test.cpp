#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <csignal>
#include <fstream>
#include <random>
#include <string>
#include <thread>

#include "core/game_fixture.h"
#include "form/convert.h"
#include "form/player.h"
#include "form/scheduler.h"
#include "platform/tally_file.h"
#include "stats/stats.h"
#include "stats/tally_line.h"

namespace velmora {
namespace {

class TallyFileTest : public ::testing::Test {
 protected:
  std::string path(const char* name = "tallyho.ogg") const {
    return QDir(dir.path()).filePath(name).toStdString();
  }
  QStringList entries() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }
  QTemporaryDir dir;
};

TEST_F(TallyFileTest, RoundTripReplacesTheWholeFile) {
  TallyFile file(path());
  ASSERT_TRUE(file.write("144,20,10\r\n"));
  EXPECT_EQ(file.read(), "144,20,10\r\n");
  ASSERT_TRUE(file.write("3.5,0,10\r\n"));
  EXPECT_EQ(TallyFile(path()).read(), "3.5,0,10\r\n");
  EXPECT_EQ(entries(), QStringList{"tallyho.ogg"});  // no temporary left beside it
}

TEST_F(TallyFileTest, MissingFileReadsNothing) {
  EXPECT_EQ(TallyFile(path()).read(), std::nullopt);
  // A place whose directory cannot exist: its parent is a plain file.
  ASSERT_TRUE(TallyFile(path("plain")).write("x"));
  TallyFile inside(path("plain") + "/tallyho.ogg");
  EXPECT_EQ(inside.read(), std::nullopt);
  EXPECT_FALSE(inside.write("1,1,1\r\n"));
}

TEST_F(TallyFileTest, FullDiskFailsAndKeepsTheOldFile) {
  TallyFile file(path());
  ASSERT_TRUE(file.write("144,20,10\r\n"));
  // A file size limit makes every write past a few bytes fail as a full disk does.
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  rlimit small = old;
  small.rlim_cur = 4;
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool written = file.write("123456.75,17636,10\r\n");
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_FALSE(written);
  EXPECT_EQ(file.read(), "144,20,10\r\n");
  EXPECT_EQ(entries(), QStringList{"tallyho.ogg"});
}

TEST_F(TallyFileTest, KilledWhileSavingLeavesTheOldRecordOrTheNew) {
  const std::string file = path();
  ASSERT_TRUE(TallyFile(file).write(tallyLine(1)));
  std::mt19937 moments(8);
  std::uniform_int_distribution<int> micros(0, 20000);
  double last = 1;
  int rose = 0;
  const int rounds = 40;
  for (int round = 0; round < rounds; ++round) {
    const std::string start = std::to_string(static_cast<long long>(last));
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      execl(TALLY_WRITER, TALLY_WRITER, file.c_str(), start.c_str(), nullptr);
      _exit(127);
    }
    // Once the writer has saved (however long a loaded machine takes to start it),
    // it saves on and on: the kill meets a save at a random moment.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (;;) {
      const auto now = TallyFile(file).read();
      const auto seen = now ? parseTallyLine(*now) : std::nullopt;
      if ((seen && seen->topScore > last) || std::chrono::steady_clock::now() > deadline) break;
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    std::this_thread::sleep_for(std::chrono::microseconds(micros(moments)));
    kill(pid, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself: " << status;

    // Whole, checked, and never older than what the last round left.
    const auto contents = TallyFile(file).read();
    ASSERT_TRUE(contents.has_value());
    const auto record = parseTallyLine(*contents);
    ASSERT_TRUE(record.has_value()) << *contents;
    EXPECT_EQ(*contents, tallyLine(record->topScore));
    EXPECT_GE(record->topScore, last);
    if (record->topScore > last) ++rose;
    last = record->topScore;
  }
  // Every round saved before its kill, so the kills met running saves.
  EXPECT_EQ(rose, rounds);
}

// A game whose tally file cannot be replaced: it plays on, its new top score
// lives in memory and shows under "Top", and the file keeps the old record.
class UnsavableTally : public TallyFileTest {
 protected:
  // The file holds a record of 2, then `fault` makes every save fail.
  template <typename Fault>
  void playPast2(const std::string& file, Fault fault) {
    ASSERT_TRUE(TallyFile(file).write("2,0,10\r\n"));
    VirtualClock clock;
    testing::RecordingHost host;
    TallyFile tally(file);
    Game g(clock, host, tally);
    g.load();
    ASSERT_EQ(g.world.TopScore, 2);
    fault();
    enter(*g.TXn, "100");
    if (g.Chbi->value() != 0) playerClick(*g.Chbi);
    playerClick(*g.Command2);
    ASSERT_TRUE(g.Ti->enabled());
    // A world at rest: no border event, merge or kick disturbs it, so with 100
    // live bodies the score passes 2 after about 15 stable seconds.
    World& w = g.world;
    for (int i = 0; i <= w.PlanetCount; ++i) {
      w.MomentumX[i] = w.MomentumY[i] = w.PlanetGravity[i] = 0;
    }
    w.ImpactJitter = 0;
    w.ImpactJitterSpan = 1;
    advanceTimers(g.fs7, clock, 20000);

    EXPECT_GT(w.TopScore, 2);
    EXPECT_EQ(g.Label5->caption(), textOf(w.TopScore));
    EXPECT_TRUE(g.Ti->enabled());
    EXPECT_TRUE(host.boxes.empty());  // no box stops the game; "Top"'s tip tells
    tip = g.Label5->toolTip();
    saved = TallyFile(file).read();
  }
  static void enter(Control& field, const std::string& text) {
    playerType(field, text);
    playerLeave(field);
  }
  // A tmpfs in a mount namespace of this process alone, so that nothing stays
  // mounted whatever happens; false where mounting is not allowed.
  bool mountTmpfs(const std::string& at, const char* options) {
    QDir().mkpath(QString::fromStdString(at));
    if (unshare(CLONE_NEWNS) != 0) return false;
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return false;
    return mount("tmpfs", at.c_str(), "tmpfs", 0, options) == 0;
  }
  std::optional<std::string> saved;
  std::string tip;  // "Top"'s tip after the game
};

TEST_F(UnsavableTally, WithoutAFaultTheNewRecordIsSaved) {
  playPast2(path(), [] {});
  EXPECT_EQ(tip, "");
  ASSERT_TRUE(saved.has_value());
  const auto record = parseTallyLine(*saved);
  ASSERT_TRUE(record.has_value());
  EXPECT_GT(record->topScore, 2);
}

TEST_F(UnsavableTally, FileSizeLimitKeepsTheRecordInMemory) {
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  playPast2(path(), [&] {
    rlimit small = old;
    small.rlim_cur = 4;
    setrlimit(RLIMIT_FSIZE, &small);
  });
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(saved, "2,0,10\r\n");
  EXPECT_EQ(tip, unsavedRecordTip(path()));
}

TEST_F(UnsavableTally, FullDiskKeepsTheRecordInMemory) {
  const std::string disk = path("disk");
  if (!mountTmpfs(disk, "size=64k")) GTEST_SKIP() << "no right to mount a tmpfs";
  const std::string file = disk + "/tallyho.ogg";
  playPast2(file, [&] {
    std::ofstream filler(disk + "/filler", std::ios::binary);
    const std::string block(4096, 'x');
    while (filler.write(block.data(), block.size()) && filler.flush()) {
    }
  });
  umount2(disk.c_str(), MNT_DETACH);
  EXPECT_EQ(saved, "2,0,10\r\n");
  EXPECT_EQ(tip, unsavedRecordTip(file));
}

TEST_F(UnsavableTally, ReadOnlyDirectoryKeepsTheRecordInMemory) {
  const std::string disk = path("disk");
  if (!mountTmpfs(disk, "size=64k")) GTEST_SKIP() << "no right to mount a tmpfs";
  const std::string file = disk + "/tallyho.ogg";
  playPast2(file, [&] {
    ASSERT_EQ(mount(nullptr, disk.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
  });
  umount2(disk.c_str(), MNT_DETACH);
  EXPECT_EQ(saved, "2,0,10\r\n");
  EXPECT_EQ(tip, unsavedRecordTip(file));
}

}  // namespace
}  // namespace velmora
