// A video into a folder the player cannot write: refused with the reason, and
// nothing left there. Run through run_unprivileged, since root's rights would
// override the folder's.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <sstream>
#include <string>

#include "script/render.h"

namespace velmora {
namespace {

TEST(VideoPermissions, AVideoIntoAReadOnlyFolderSaysWhyAndLeavesNothing) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
  ASSERT_NE(access(QFile::encodeName(dir.path()).constData(), W_OK), 0)
      << "this user may write any folder; run the test through run_unprivileged";
  for (const char* name : {"run.mp4", "run.webm", "run.apng"}) {
    RenderRequest r;
    r.preset = 3;
    r.seed = 7;
    r.ticks = 4;
    r.path = QDir(dir.path()).filePath(name).toStdString();
    MemoryTallyStorage tally;
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(render(r, tally, out, err), 2);
    EXPECT_EQ(err.str().rfind("velmora: cannot write " + r.path + ": ", 0), 0u) << err.str();
    EXPECT_NE(err.str().find("ermission denied"), std::string::npos) << err.str();
  }
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{});
  QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

}  // namespace
}  // namespace velmora
