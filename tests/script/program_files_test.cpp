// The program itself with files: under a file-size limit (ulimit -f) a save fails
// with a message and the game goes on, where the limit's signal would end it; a
// file name that is not UTF-8 passes through the command line whole.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "program_run.h"

#ifdef VELMORA_PROGRAM
namespace velmora {
namespace {

namespace fs = std::filesystem;

std::string contents(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

class ProgramFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("velmora-program-test-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  ProgramRun script(const std::string& text, rlim_t limitBytes = 0) {
    const fs::path file = dir / "play.script";
    std::ofstream(file, std::ios::binary) << text;
    return runProgram({"--script", file.string(), "--tally", (dir / "tally").string()}, limitBytes);
  }

  static std::vector<std::string> files(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path dir;
};

// 1 KiB holds the script but no saved system and no picture of the field.
constexpr rlim_t kSmallLimit = 1024;

TEST_F(ProgramFiles, ASaveBeyondTheFileSizeLimitFailsAndTheGameGoesOn) {
  fs::create_directory(dir / "saves");
  const std::string saved = (dir / "saves" / "mine.velmora").string();
  const ProgramRun first = script("click Command2\nwait 1000\nsave " + saved + "\n");
  ASSERT_TRUE(first.exited && first.status == 0) << first.output;
  const std::string earlier = contents(saved);
  ASSERT_GT(earlier.size(), kSmallLimit);

  const ProgramRun limited = script(
      "click Command2\nwait 2000\nsave " + saved + "\nwait 100\nprint Ti.Enabled\n", kSmallLimit);
  EXPECT_TRUE(limited.exited) << "ended by signal " << limited.status;
  EXPECT_EQ(limited.status, 0);
  EXPECT_EQ(limited.output, "msgbox Save system | Cannot save \"" + saved +
                                "\": the file is too large for this folder's limit.\n"
                                "Ti.Enabled=True\n");
  EXPECT_EQ(contents(saved), earlier);
  EXPECT_EQ(files(dir / "saves"), std::vector<std::string>{"mine.velmora"}) << "no leftovers";
}

TEST_F(ProgramFiles, APictureBeyondTheFileSizeLimitIsACleanFailure) {
  const std::string picture = (dir / "field.png").string();
  const ProgramRun limited = script("click Command2\nwait 500\npng " + picture + "\n", kSmallLimit);
  EXPECT_TRUE(limited.exited) << "ended by signal " << limited.status;
  EXPECT_EQ(limited.status, 2);
  EXPECT_EQ(limited.output, "3: cannot write " + picture + "\n");

  const ProgramRun render = runProgram({"--render", picture, "--ticks", "20"}, kSmallLimit);
  EXPECT_TRUE(render.exited) << "ended by signal " << render.status;
  EXPECT_EQ(render.status, 2);
  EXPECT_EQ(render.output, "velmora: cannot write " + picture + "\n");
}

// Latin-1 "café": a name of bytes that are no UTF-8.
TEST_F(ProgramFiles, ANameThatIsNotUtf8PassesTheCommandLineWhole) {
  const std::string latin1 = (dir / "caf\xe9.velmora").string();
  const ProgramRun saving =
      script("click Command2\nwait 1000\nsave " + (dir / "x.velmora").string());
  ASSERT_TRUE(saving.exited && saving.status == 0) << saving.output;
  fs::rename(dir / "x.velmora", latin1);

  const std::string picture = (dir / "opened.png").string();
  const ProgramRun render = runProgram({"--render", picture, "--open", latin1});
  EXPECT_TRUE(render.exited && render.status == 0) << render.output;
  EXPECT_TRUE(fs::is_regular_file(picture));

  // Echoed as it came.
  const ProgramRun extra = runProgram({"--render", picture, latin1});
  EXPECT_EQ(extra.status, 2);
  EXPECT_EQ(extra.output, "velmora: unexpected argument " + latin1 + "\n");
}

}  // namespace
}  // namespace velmora
#endif
