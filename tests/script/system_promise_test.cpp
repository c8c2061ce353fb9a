// A system saved at tick k and opened again goes on exactly as the run paused at
// tick k and resumed: the tables, the draws and the pixels after n more ticks.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sstream>
#include <string>

#include "form/player.h"
#include "platform/system_file.h"
#include "script/headless.h"
#include "script/world_items.h"
#include "state/game.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

struct Player {
  MemoryTallyStorage tally;
  std::ostringstream messages;
  HeadlessGame headless{tally, messages};
  Game& g = headless.game();

  void ticks(int n) { headless.wait(static_cast<long long>(n) * g.Ti->interval()); }
  void enter(Control& field, const std::string& text) {
    playerType(field, text);
    playerLeave(field);
  }
};

struct Outcome {
  uint64_t hash;
  std::string rngState;
  uint64_t draws;
  std::vector<uint32_t> pixels;
};

Outcome outcome(const Game& g) {
  return {worldHash(g.world), g.rng.state(), g.rng.draws(), g.surface.pixels()};
}

struct PromiseCase {
  const char* name;
  std::function<void(Player&)> setUp = {};  // the panel before "Go"
  std::function<void(Player&)> edits =
      {};  // made while paused at tick k, then saved; none: saved running
  int k = 400;
  int n = 400;
};

void freezeSeed(Player& r, int seed) {
  if (r.g.CHran->value() == 0) playerClick(*r.g.CHran);
  r.enter(*r.g.TXran, std::to_string(seed));
}

void editWhilePaused(Player& r) {
  Game& g = r.g;
  playerScroll(*g.Qui, 3);
  r.enter(*g.TXTp[0], "5000");
  r.enter(*g.TXTp[3], "-2.5");
  playerScroll(*g.Qui, 7);
  playerClick(*g.Chon);  // body 7 off
  r.enter(*g.TXg[2], "2.1");
  playerClick(*g.Och[2]);
}

fs::path savedFile(const std::string& name) {
  const fs::path dir = fs::temp_directory_path() / "velmora-promise-test";
  fs::create_directories(dir);
  return dir / (name + ".velmora");
}

class Promise : public ::testing::TestWithParam<PromiseCase> {};

TEST_P(Promise, OpenedAndResumedEqualsPausedAndResumed) {
  const PromiseCase& c = GetParam();
  const fs::path file = savedFile(c.name);

  // The run that pauses at tick k, maybe edits, and resumes.
  Player paused;
  c.setUp(paused);
  playerClick(*paused.g.Command2);
  paused.ticks(c.k);
  // Saved while running, or paused after edits.
  if (!c.edits) {
    ASSERT_TRUE(saveSystemTelling(paused.g, file.string())) << paused.messages.str();
  }
  playerClick(*paused.g.Command5);
  if (c.edits) {
    c.edits(paused);
    ASSERT_TRUE(saveSystemTelling(paused.g, file.string())) << paused.messages.str();
  }
  playerClick(*paused.g.Command5);
  paused.ticks(c.n);
  const Outcome expected = outcome(paused.g);

  // Another game, already running something else at another time, opens the file.
  Player opened;
  playerClick(*opened.g.CDp[4]);
  playerClick(*opened.g.Command2);
  opened.ticks(37);
  ASSERT_TRUE(openSystemTelling(opened.g, file.string())) << opened.messages.str();
  EXPECT_FALSE(opened.g.Ti->enabled()) << "opening pauses";
  playerClick(*opened.g.Command5);
  opened.ticks(c.n);
  const Outcome got = outcome(opened.g);

  EXPECT_EQ(got.hash, expected.hash);
  EXPECT_EQ(got.draws, expected.draws);
  EXPECT_TRUE(got.rngState == expected.rngState) << "the generators part";
  EXPECT_TRUE(got.pixels == expected.pixels) << "the pictures differ";
  // A run that made no draws or plotted nothing would prove little.
  EXPECT_GT(expected.draws, 0u);
}

// Automatic clearing runs through a pause, so its phase is saved; this game opens
// the file before its own first "Go".
TEST(PromiseRunning, ClearingPhaseCarriesOverIntoAGameNotYetStarted) {
  const fs::path file = savedFile("running");
  Player a;
  freezeSeed(a, 11);
  playerClick(*a.g.CHr);  // automatic clearing: its timer's phase must carry over
  a.enter(*a.g.TXref, "1300");
  playerClick(*a.g.Command2);
  a.ticks(350);
  ASSERT_TRUE(saveSystemTelling(a.g, file.string())) << a.messages.str();
  playerClick(*a.g.Command5);
  playerClick(*a.g.Command5);
  a.ticks(500);

  Player b;  // opened before its first "Go"
  ASSERT_TRUE(openSystemTelling(b.g, file.string())) << b.messages.str();
  playerClick(*b.g.Command5);
  b.ticks(500);
  const Outcome want = outcome(a.g), got = outcome(b.g);
  EXPECT_EQ(got.hash, want.hash);
  EXPECT_EQ(got.draws, want.draws);
  EXPECT_TRUE(got.pixels == want.pixels);
}

PromiseCase presetCase(const char* name, int preset) {
  return {name, [preset](Player& r) {
            playerClick(*r.g.CDp[preset]);
            freezeSeed(r, 100 + preset);
          }};
}

INSTANTIATE_TEST_SUITE_P(
    Systems, Promise,
    ::testing::Values(PromiseCase{"plain", [](Player& r) { freezeSeed(r, 5); }},
                      PromiseCase{"paused_with_edits", [](Player& r) { freezeSeed(r, 9); },
                                  editWhilePaused},
                      presetCase("preset1", 0), presetCase("preset2", 1), presetCase("preset3", 2),
                      presetCase("preset4", 3), presetCase("preset5", 4), presetCase("preset6", 5)),
    [](const ::testing::TestParamInfo<PromiseCase>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace velmora
