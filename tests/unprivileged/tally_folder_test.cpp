// The tally file in a folder the player cannot write. Permissions bind only a user
// without root's rights, so these tests insist on that instead of skipping: CTest
// runs them through run_unprivileged, which drops root's rights first.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <string>

#include "core/game_fixture.h"
#include "platform/tally_file.h"
#include "stats/stats.h"

namespace velmora {
namespace {

bool writable(const QString& path) {
  return access(QFile::encodeName(path).constData(), W_OK) == 0;
}

class UnwritableFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(TallyFile(path()).write("2,0,10\r\n"));
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    ASSERT_FALSE(writable(dir.path()))
        << "this user may write any folder; run the test through run_unprivileged";
  }
  void TearDown() override {
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }

  // A game whose clock reaches a score of 3.5 (12 live bodies, 156 stable
  // seconds), a new record over the file's 2; returns "Top"'s tip.
  std::string playToARecord() {
    VirtualClock clock;
    testing::RecordingHost host;
    TallyFile tally(path());
    Game g(clock, host, tally);
    g.load();
    EXPECT_EQ(g.world.TopScore, 2);
    g.world.PlanetCount = 12;
    g.world.StartHour = 12;
    clock.advanceTo(156 * 1000);
    TiK_Timer(g);
    EXPECT_EQ(g.world.TopScore, 3.5);
    EXPECT_EQ(g.Label5->caption(), "3.5");
    EXPECT_TRUE(host.boxes.empty());
    return g.Label5->toolTip();
  }

  std::string path() const { return file.toStdString(); }

  QTemporaryDir dir;
  QString file = QDir(dir.path()).filePath("tallyho.ogg");
};

// No temporary file can be made beside the tally, but the tally itself can be
// written: the record goes there in place.
TEST_F(UnwritableFolder, TheRecordIsWrittenInPlace) {
  ASSERT_TRUE(writable(file));
  EXPECT_EQ(playToARecord(), "");
  EXPECT_EQ(TallyFile(path()).read(), "3.5,0,10\r\n");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"tallyho.ogg"});
}

// Neither the folder nor the file: the record lives in memory and "Top"'s tip
// names the file it could not be saved to.
TEST_F(UnwritableFolder, ARecordThatCannotBeSavedIsNamedInTopsTip) {
  ASSERT_TRUE(QFile::setPermissions(file, QFile::ReadOwner));
  ASSERT_FALSE(writable(file));

  const std::string tip = playToARecord();
  EXPECT_EQ(tip, unsavedRecordTip(path()));
  EXPECT_NE(tip.find(path()), std::string::npos) << tip;
  EXPECT_EQ(TallyFile(path()).read(), "2,0,10\r\n");
}

}  // namespace
}  // namespace velmora
