// Saved systems where file permissions stand in the way: a folder the player cannot
// write and a file the player cannot read. Run through run_unprivileged, like the
// tally's folder tests, since root's rights would override both.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <string>

#include "core/game_fixture.h"
#include "platform/system_file.h"
#include "script/world_items.h"

namespace velmora {
namespace {

QByteArray contents(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class SystemPermissions : public ::testing::Test, public testing::GameFixture {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    g.resize(1800, 1200);
    click(*g.Command2);
    wait(2000);
    ASSERT_EQ(saveSystemFile(g, path()), std::nullopt);
    earlier = contents(file);
    ASSERT_FALSE(earlier.isEmpty());
  }
  void TearDown() override {
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }

  std::string path() const { return file.toStdString(); }

  QTemporaryDir dir;
  QString file = QDir(dir.path()).filePath("mine.velmora");
  QByteArray earlier;
};

TEST_F(SystemPermissions, SavingIntoAReadOnlyFolderSaysSoAndKeepsTheEarlierFileWhole) {
  ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
  ASSERT_NE(access(QFile::encodeName(dir.path()).constData(), W_OK), 0)
      << "this user may write any folder; run the test through run_unprivileged";
  wait(2000);  // the system has moved on: a save would change the file

  const auto message = saveSystemFile(g, path());
  ASSERT_TRUE(message.has_value());
  EXPECT_EQ(message->rfind("Cannot save \"" + path() + "\": ", 0), 0u) << *message;
  EXPECT_NE(message->find("ermission denied"), std::string::npos) << *message;
  EXPECT_EQ(contents(file), earlier);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"mine.velmora"});
}

TEST_F(SystemPermissions, AnUnreadableFileIsRefusedAndTheGameGoesOnUntouched) {
  ASSERT_TRUE(QFile::setPermissions(file, QFile::WriteOwner));
  ASSERT_NE(access(QFile::encodeName(file).constData(), R_OK), 0)
      << "this user may read any file; run the test through run_unprivileged";
  const uint64_t hash = worldHash(g.world);
  const auto pixels = g.surface.pixels();
  const uint64_t draws = g.rng.draws();

  const auto message = openSystemFile(g, path());
  ASSERT_TRUE(message.has_value());
  EXPECT_EQ(*message, "Cannot open \"" + path() + "\": it cannot be read (permission denied).");
  EXPECT_EQ(worldHash(g.world), hash);
  EXPECT_TRUE(g.surface.pixels() == pixels);
  EXPECT_EQ(g.rng.draws(), draws);
  EXPECT_TRUE(g.Ti->enabled()) << "the system runs on";
}

}  // namespace
}  // namespace velmora
