#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <string>

#include "platform/tally_file.h"

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

TEST_F(TallyFileTest, UnwritableDirectoryFailsAndKeepsTheOldFile) {
  TallyFile file(path());
  ASSERT_TRUE(file.write("144,20,10\r\n"));
  QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
  if (QFileInfo(dir.path()).isWritable()) {
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    GTEST_SKIP() << "permissions do not bind this user";
  }
  EXPECT_FALSE(file.write("3.5,0,10\r\n"));
  QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  EXPECT_EQ(file.read(), "144,20,10\r\n");
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

}  // namespace
}  // namespace velmora
