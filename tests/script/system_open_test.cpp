// Opening a saved system puts back all that was saved and nothing of the game that
// opens it: the speed mid-cycle, every table entry past the pause that opening runs,
// the tag, the editor's body, and the picture of the largest window.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "app/system_snapshot.h"
#include "app/time_control.h"
#include "form/player.h"
#include "platform/system_file.h"
#include "script/headless.h"
#include "script/world_items.h"
#include "state/game.h"
#include "world/world_fields.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

struct Player {
  MemoryTallyStorage tally;
  std::ostringstream messages;
  HeadlessGame headless{tally, messages};
  Game& g = headless.game();

  void periods(int n) { headless.wait(static_cast<long long>(n) * g.Ti->interval()); }
  void enter(Control& field, const std::string& text) {
    playerType(field, text);
    playerLeave(field);
  }
  void start(int seed) {
    playerClick(*g.CHran);
    enter(*g.TXran, std::to_string(seed));
    playerClick(*g.Command2);
  }
};

fs::path savedFile(const std::string& name) {
  const fs::path dir = fs::temp_directory_path() / "velmora-open-test";
  fs::create_directories(dir);
  return dir / (name + ".velmora");
}

void expectSameTables(const World& want, const World& got) {
  for (const TableField& t : worldTables()) {
    const auto a = bytesOf(want, t), b = bytesOf(got, t);
    EXPECT_TRUE(std::equal(a.begin(), a.end(), b.begin(), b.end())) << t.name;
  }
}

void expectSameRun(const Game& want, const Game& got) {
  EXPECT_EQ(worldHash(got.world), worldHash(want.world));
  EXPECT_EQ(got.rng.draws(), want.rng.draws());
  EXPECT_TRUE(got.surface.pixels() == want.surface.pixels()) << "the pictures differ";
}

// ---- The speed -----------------------------------------------------------------

struct SpeedCase {
  const char* name;
  const char* speed;
  int periods;  // run before the save
  bool paused;  // saved paused (after a step) or running
};

class SavedSpeed : public ::testing::TestWithParam<SpeedCase> {};

TEST_P(SavedSpeed, GoesOnAtTheSavedSpeedWhereItWasInItsCycle) {
  const SpeedCase& c = GetParam();
  const fs::path file = savedFile(std::string("speed_") + c.name);
  Player a;
  a.g.speed.setLevel(*TimeSpeed::parse(c.speed));
  a.start(17);
  a.periods(c.periods);
  if (c.paused) {
    playerClick(*a.g.Command5);
    ASSERT_TRUE(stepOnce(a.g));
  }
  ASSERT_TRUE(saveSystemTelling(a.g, file.string())) << a.messages.str();
  const int idle = a.g.speed.idlePeriods();
  if (!c.paused) playerClick(*a.g.Command5);
  playerClick(*a.g.Command5);
  a.periods(45);

  Player b;  // a fresh game, at x1
  ASSERT_TRUE(openSystemTelling(b.g, file.string())) << b.messages.str();
  EXPECT_EQ(b.g.speed.level(), *TimeSpeed::parse(c.speed));
  EXPECT_EQ(b.g.speed.idlePeriods(), idle);
  playerClick(*b.g.Command5);
  b.periods(45);
  expectSameRun(a.g, b.g);
}

INSTANTIATE_TEST_SUITE_P(Speeds, SavedSpeed,
                         ::testing::Values(SpeedCase{"x4_running", "4", 60, false},
                                           SpeedCase{"x1_8_mid_cycle", "1/8", 8 * 30 + 5, false},
                                           SpeedCase{"x1_4_mid_cycle", "1/4", 4 * 30 + 3, false},
                                           SpeedCase{"x1_2_paused", "1/2", 61, true}),
                         [](const auto& row) { return std::string(row.param.name); });

// ---- The tables past the pause -------------------------------------------------

// Opening pauses as a player does: with the selector at 0 it shows body 1 and then
// the sun, bounding what it shows to the editor's ranges. A system saved paused after
// steps holds momenta beyond them, reached by the physics; they stay as saved.
TEST(OpenedTables, StayAsSavedPastThePauseThatOpeningRuns) {
  const fs::path file = savedFile("beyond_bounds");
  Player a;
  playerClick(*a.g.CDp[1]);
  a.enter(*a.g.TXw[0], "3");
  a.start(5);
  a.periods(40);
  playerClick(*a.g.Command5);
  ASSERT_EQ(a.g.Qui->value(), 0) << "the editor shows the sun, so opening passes body 1";
  // What a strong pull gives body 1 in a few ticks.
  a.g.world.MomentumX[1] = 1200.0625;
  a.g.world.MomentumY[1] = -999.04;
  ASSERT_TRUE(stepOnce(a.g));
  ASSERT_TRUE(stepOnce(a.g));
  ASSERT_GT(std::abs(a.g.world.MomentumX[1]), 999.0);
  ASSERT_TRUE(saveSystemTelling(a.g, file.string())) << a.messages.str();

  Player b;
  playerClick(*b.g.Command2);  // running something else
  b.periods(20);
  ASSERT_TRUE(openSystemTelling(b.g, file.string())) << b.messages.str();
  expectSameTables(a.g.world, b.g.world);
  EXPECT_EQ(b.g.TXTOden->text(), a.g.TXTOden->text()) << "the editor shows the saved body";

  playerClick(*a.g.Command5);
  playerClick(*b.g.Command5);
  a.periods(60);
  b.periods(60);
  expectSameRun(a.g, b.g);
}

// ---- The editor ----------------------------------------------------------------

// The editor falls back on the body it showed last when its number field names none.
// Across an open that is no body of the game before: the fields show the file's texts.
TEST(OpenedEditor, RemembersNothingOfTheGameBefore) {
  const fs::path file = savedFile("editor_memory");
  {
    Player a;
    a.enter(*a.g.TXw[0], "25");
    a.start(3);
    a.periods(30);
    playerClick(*a.g.Command5);
    playerScroll(*a.g.Qui, a.g.Qui->max());
    ASSERT_TRUE(saveSystemTelling(a.g, file.string())) << a.messages.str();
  }
  // A body number the tables do not hold, beside the selector at its end: the pause
  // that opens the file moves nothing and shows the body the editor remembers.
  nlohmann::json j = nlohmann::json::parse(std::ifstream(file));
  ASSERT_EQ(j["editor"]["body"], 25);
  j["panel"]["texts"]["TXTOden"] = "1000";
  std::ofstream(file) << j.dump();

  Player b;
  b.enter(*b.g.TXw[0], "25");
  b.start(4);
  b.periods(30);
  playerClick(*b.g.Command5);
  playerScroll(*b.g.Qui, 9);  // the editor remembers body 9
  ASSERT_TRUE(openSystemTelling(b.g, file.string())) << b.messages.str();
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(b.g.TXTp[i]->text(), j["panel"]["texts"][b.g.TXTp[i]->id()])
        << b.g.TXTp[i]->id() << " shows a body of the game before";
  }
}

// ---- A setting nothing reads ---------------------------------------------------

TEST(OpenedSettings, TheTaggedPlanetIsSavedAndOpened) {
  const fs::path file = savedFile("tagged");
  Player a;
  a.start(8);
  a.periods(10);
  a.g.world.TaggedPlanet = 321;  // the hidden "Tag" field's body
  ASSERT_TRUE(saveSystemTelling(a.g, file.string())) << a.messages.str();
  Player b;
  ASSERT_TRUE(openSystemTelling(b.g, file.string())) << b.messages.str();
  EXPECT_EQ(b.g.world.TaggedPlanet, 321);
}

// ---- The largest window --------------------------------------------------------

// Its picture is beyond Qt's image reader's allocation limit: every size a system can
// be saved at opens again.
TEST(LargestWindow, IsSavedAndOpensAgain) {
  const fs::path file = savedFile("largest");
  Player a;
  a.g.resize(kMaxSavedWindowExtent, kMaxSavedWindowExtent);
  a.start(2);
  a.periods(20);
  ASSERT_TRUE(saveSystemTelling(a.g, file.string())) << a.messages.str();
  Player b;
  ASSERT_TRUE(openSystemTelling(b.g, file.string())) << b.messages.str();
  EXPECT_EQ(b.g.W(), kMaxSavedWindowExtent);
  EXPECT_EQ(b.g.H(), kMaxSavedWindowExtent);
  EXPECT_EQ(b.g.surface.width(), a.g.surface.width());
  EXPECT_TRUE(b.g.surface.pixels() == a.g.surface.pixels());
  fs::remove(file);
}

// The virtual memory this process has mapped, in bytes.
long long mappedBytes() {
  std::ifstream statm("/proc/self/statm");
  long long pages = 0;
  statm >> pages;
  return pages * sysconf(_SC_PAGESIZE);
}

// In a game running something else, opens `file` with at most `headroom` bytes more
// memory to be had; 0 when the open was refused for want of memory, said so, and left
// the game as it was and running.
int openWithHeadroom(const fs::path& file, long long headroom) {
  Player b;
  b.start(6);
  b.periods(20);
  const uint64_t hash = worldHash(b.g.world);
  const auto pixels = b.g.surface.pixels();
  const auto most = static_cast<rlim_t>(mappedBytes() + headroom);
  const rlimit limit{most, most};
  setrlimit(RLIMIT_AS, &limit);
  const bool opened = openSystemTelling(b.g, file.string());
  const bool said = b.messages.str().find("not enough memory") != std::string::npos;
  const bool untouched =
      worldHash(b.g.world) == hash && b.g.surface.pixels() == pixels && b.g.Ti->enabled();
  std::fprintf(stderr, "%s", b.messages.str().c_str());
  return !opened && said && untouched ? 0 : 1;
}

// Opening the largest window's file needs its picture's 175 MB. With less memory to be
// had, the file is refused with a message and the running game goes on untouched.
TEST(OpenWithoutMemory, IsRefusedAndTheGameGoesOnUntouched) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const fs::path file = savedFile("largest_for_memory");
  {
    Player a;
    a.g.resize(kMaxSavedWindowExtent, kMaxSavedWindowExtent);
    a.start(2);
    ASSERT_TRUE(saveSystemTelling(a.g, file.string())) << a.messages.str();
  }
  // Room for reading the file (up to 32 MB at once), none for its picture.
  EXPECT_EXIT(std::_Exit(openWithHeadroom(file, 128LL << 20)), ::testing::ExitedWithCode(0),
              "not enough memory");
  fs::remove(file);
}

}  // namespace
}  // namespace velmora
