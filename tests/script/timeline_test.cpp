// The timeline's promise: a moment reached by moving along the timeline is the
// moment the run had (tables, draws, picture), shown as a pause there shows it, and
// going on from it is going on as the run did.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/picture_change.h"
#include "app/timeline.h"
#include "form/player.h"
#include "platform/system_file.h"
#include "script/headless.h"
#include "script/world_items.h"
#include "sim/border.h"
#include "sim/lane_pool.h"
#include "state/game.h"

namespace velmora {
namespace {

constexpr long long kSpacing = 32;

struct Player {
  MemoryTallyStorage tally;
  std::ostringstream messages;
  HeadlessGame headless{tally, messages};
  Game& g = headless.game();
  Timeline& timeline = *g.timeline;
  // Keyframes at known ticks, so that the seeks cross them.
  Player() { timeline.setKeyframeSpacing(kSpacing); }

  void ticks(long long n) { headless.wait(n * g.Ti->interval()); }
  void enter(Control& field, const std::string& text) {
    playerType(field, text);
    playerLeave(field);
  }
  void pause() { playerClick(*g.Command5); }
};

struct Outcome {
  uint64_t hash;
  std::string rngState;
  uint64_t draws;
  std::vector<uint32_t> pixels;
  friend bool operator==(const Outcome&, const Outcome&) = default;
};

Outcome outcome(const Game& g) {
  return {worldHash(g.world), g.rng.state(), g.rng.draws(), g.surface.pixels()};
}

// Names what differs, for a failure that says more than "not equal".
std::string difference(const Outcome& got, const Outcome& want) {
  if (got.hash != want.hash) return "the tables differ";
  if (got.draws != want.draws || got.rngState != want.rngState) return "the draws differ";
  if (got.pixels != want.pixels) return "the pictures differ";
  return "";
}

void freezeSeed(Player& r, int seed) {
  if (r.g.CHran->value() == 0) playerClick(*r.g.CHran);
  r.enter(*r.g.TXran, std::to_string(seed));
}

struct TimelineCase {
  const char* name;
  std::function<void(Player&)> setUp;
  int threads = 1;
};

// Seeks, back and forth and across keyframes, then the moments resumed from.
constexpr long long kRunTicks = 140;
const std::vector<long long> kSeeks = {100, 0, 31, 32, 33, 140, 64, 1, 97, 65, 139, 33, 120};

class TimelinePromise : public ::testing::TestWithParam<TimelineCase> {
 protected:
  void SetUp() override { sim::LanePool::shared().resize(GetParam().threads, 1, 8); }
  void TearDown() override { sim::LanePool::shared().resize(1); }

  // The same run paused at each of `ticks` (ascending) in turn: a pause writes
  // only what the next pause writes again, so one run serves them all.
  std::map<long long, Outcome> pausedAt(std::vector<long long> ticks) {
    std::sort(ticks.begin(), ticks.end());
    Player run;
    GetParam().setUp(run);
    playerClick(*run.g.Command2);
    std::map<long long, Outcome> at;
    long long now = 0;
    for (const long long t : ticks) {
      if (at.contains(t)) continue;
      run.ticks(t - now);
      now = t;
      run.pause();
      EXPECT_EQ(run.timeline.tick(), t);
      at[t] = outcome(run.g);
      run.pause();
    }
    EXPECT_GT(run.g.rng.draws(), 0u) << "a run without draws proves little";
    return at;
  }
};

TEST_P(TimelinePromise, SeekingShowsTheMomentAsAPauseThere) {
  std::vector<long long> wanted = kSeeks;
  for (long long t = kRunTicks; t > kRunTicks - 5; --t) wanted.push_back(t);
  const auto want = pausedAt(wanted);

  Player r;
  GetParam().setUp(r);
  playerClick(*r.g.Command2);
  r.ticks(kRunTicks);
  r.pause();
  ASSERT_EQ(r.timeline.last(r.g), kRunTicks);
  for (const long long t : kSeeks) {
    ASSERT_EQ(r.timeline.seek(r.g, t), std::nullopt);
    EXPECT_EQ(r.timeline.tick(), t);
    const Outcome got = outcome(r.g);
    EXPECT_TRUE(got == want.at(t)) << "seek " << t << ": " << difference(got, want.at(t));
  }
  EXPECT_EQ(r.timeline.last(r.g), kRunTicks) << "looking is no branch";

  // One tick back at a time from the latest moment.
  ASSERT_EQ(r.timeline.seek(r.g, kRunTicks), std::nullopt);
  for (long long t = kRunTicks - 1; t > kRunTicks - 5; --t) {
    ASSERT_EQ(r.timeline.back(r.g), std::nullopt);
    EXPECT_TRUE(outcome(r.g) == want.at(t)) << "back to " << t;
  }
}

TEST_P(TimelinePromise, ResumingFromAMomentGoesOnAsTheRunDid) {
  const long long from = 45, more = 60;
  const auto want = pausedAt({from + more, kRunTicks});

  Player r;
  GetParam().setUp(r);
  playerClick(*r.g.Command2);
  r.ticks(kRunTicks);
  r.pause();
  for (const long long t : {10LL, kRunTicks, 77LL, from}) {
    ASSERT_EQ(r.timeline.seek(r.g, t), std::nullopt);
  }
  r.pause();  // resume from `from`: the later moments are gone
  EXPECT_EQ(r.timeline.last(r.g), from);
  r.ticks(more);
  r.pause();
  ASSERT_EQ(r.timeline.tick(), from + more);
  const Outcome got = outcome(r.g);
  EXPECT_TRUE(got == want.at(from + more)) << difference(got, want.at(from + more));

  // The new branch is a timeline like the first: back to its latest moment.
  ASSERT_EQ(r.timeline.seek(r.g, 3), std::nullopt);
  ASSERT_EQ(r.timeline.seek(r.g, from + more), std::nullopt);
  EXPECT_TRUE(outcome(r.g) == want.at(from + more));
}

TimelineCase presetCase(const char* name, int preset) {
  return {name, [preset](Player& r) {
            playerClick(*r.g.CDp[preset]);
            freezeSeed(r, 200 + preset);
          }};
}

TimelineCase borderCase(const char* name, int border, const char* exponent, int threads = 1) {
  return {name,
          [border, exponent](Player& r) {
            freezeSeed(r, 31);
            r.enter(*r.g.TXn, "60");
            playerClick(*r.g.Och[border]);
            r.enter(*r.g.TXg[kTxgExponent], exponent);
          },
          threads};
}

INSTANTIATE_TEST_SUITE_P(
    Systems, TimelinePromise,
    ::testing::Values(TimelineCase{"plain", [](Player& r) { freezeSeed(r, 5); }},
                      presetCase("preset1", 0), presetCase("preset2", 1), presetCase("preset3", 2),
                      presetCase("preset4", 3), presetCase("preset5", 4), presetCase("preset6", 5),
                      borderCase("chaos_bind", kChaos, "2"),
                      borderCase("wall_exponent_1_7", kWall, "1.7"),
                      borderCase("chaos_two_threads", kChaos, "1.7", 2),
                      TimelineCase{"preset5_two_threads",
                                   [](Player& r) {
                                     playerClick(*r.g.CDp[kPresetSunNova]);
                                     freezeSeed(r, 77);
                                   },
                                   2}),
    [](const ::testing::TestParamInfo<TimelineCase>& row) { return std::string(row.param.name); });

// Edits made in a pause belong to that moment: seeking away and back finds them,
// and the moments after it are gone.
TEST(TimelineEdits, BelongToTheirMomentAndEndTheLaterOnes) {
  Player r;
  freezeSeed(r, 9);
  playerClick(*r.g.Command2);
  r.ticks(90);
  r.pause();
  ASSERT_EQ(r.timeline.seek(r.g, 50), std::nullopt);
  playerScroll(*r.g.Qui, 3);  // "live only" may pass on to another body
  const int body = std::stoi(r.g.TXTOden->text());
  r.enter(*r.g.TXTp[kTxtpX], "5000");
  EXPECT_EQ(r.timeline.last(r.g), 50) << "an edit here drops what came after";
  EXPECT_NE(r.timeline.seek(r.g, 60), std::nullopt);
  const Outcome edited = outcome(r.g);
  ASSERT_EQ(r.timeline.seek(r.g, 20), std::nullopt);
  EXPECT_NE(outcome(r.g).hash, edited.hash);
  ASSERT_EQ(r.timeline.seek(r.g, 50), std::nullopt);
  EXPECT_EQ(r.g.world.PlanetX[body], 5000);
  EXPECT_TRUE(outcome(r.g) == edited) << difference(outcome(r.g), edited);

  // Going on from the edited moment is going on from the edit.
  Player same;
  freezeSeed(same, 9);
  playerClick(*same.g.Command2);
  same.ticks(50);
  same.pause();
  playerScroll(*same.g.Qui, 3);
  same.enter(*same.g.TXTp[kTxtpX], "5000");
  for (Player* p : {&r, &same}) {
    p->pause();
    p->ticks(40);
    p->pause();
  }
  EXPECT_TRUE(outcome(r.g) == outcome(same.g)) << difference(outcome(r.g), outcome(same.g));
}

// A clear, a resize and an edit between ticks belong to the moment before the next
// tick; seeking to a moment after each and before the next keyframe finds it.
TEST(TimelineEdits, ClearsResizesAndEditsBetweenTicksAreReplayed) {
  struct Change {
    long long at;
    std::function<void(Player&)> make;
  };
  const std::vector<Change> changes = {
      {36, [](Player& p) { playerClick(*p.g.Command4); }},  // "Clear"
      {70, [](Player& p) { p.g.resize(16000, 12000); }},
      {100,
       [](Player& p) {
         p.pause();
         p.enter(*p.g.TXTp[kTxtpMomentumY], "7.5");
         p.pause();
       }},
  };
  const std::vector<long long> looks = {40, 75, 110};  // each before the next keyframe
  auto play = [&](Player& p, bool pauseToLook, std::map<long long, Outcome>* seen) {
    freezeSeed(p, 12);
    playerClick(*p.g.Command2);
    long long now = 0;
    size_t change = 0, look = 0;
    while (now < 140) {
      long long next = 140;
      if (change < changes.size()) next = std::min(next, changes[change].at);
      if (pauseToLook && look < looks.size()) next = std::min(next, looks[look]);
      p.ticks(next - now);
      now = next;
      if (change < changes.size() && changes[change].at == now) changes[change++].make(p);
      if (pauseToLook && look < looks.size() && looks[look] == now) {
        p.pause();
        (*seen)[now] = outcome(p.g);
        ++look;
        p.pause();
      }
    }
    p.pause();
  };
  Player reference, r;
  std::map<long long, Outcome> want;
  play(reference, true, &want);
  play(r, false, nullptr);
  const Outcome latest = outcome(r.g);
  for (const long long t : {110LL, 0LL, 75LL, 40LL, 140LL}) {
    ASSERT_EQ(r.timeline.seek(r.g, t), std::nullopt);
    if (t == 140) {
      EXPECT_TRUE(outcome(r.g) == latest) << difference(outcome(r.g), latest);
    } else if (t != 0) {
      EXPECT_TRUE(outcome(r.g) == want.at(t)) << t << ": " << difference(outcome(r.g), want.at(t));
    }
  }
  ASSERT_EQ(r.timeline.seek(r.g, 65), std::nullopt);
  EXPECT_EQ(r.g.W(), kDefaultWindowWidth) << "the moment before the resize";
}

// Undo takes back the accepted edits of this pause one by one, redo brings them.
TEST(TimelineUndo, UndoesAndRedoesEditorEdits) {
  Player r;
  freezeSeed(r, 4);
  playerClick(*r.g.Command2);
  r.ticks(30);
  r.pause();
  playerScroll(*r.g.Qui, 2);  // showing a body is no edit
  const World before = r.g.world;
  const size_t withoutEdits = r.timeline.bytes();
  r.enter(*r.g.TXTp[kTxtpMomentumX], "12.5");
  // A panel field is no editor edit; leaving it stores the sun's gravity anew.
  r.enter(*r.g.TXg[kTxgExponent], "1.9");
  const double sunGravity = r.g.world.PlanetGravity[0];
  playerClick(*r.g.Chon);
  ASSERT_EQ(r.g.world.MomentumX[2], 12.5);
  ASSERT_EQ(r.g.world.PlanetOff[2], 1);
  const uint64_t twoEdits = worldHash(r.g.world);
  // Each edit keeps the tables before and after it, and the timeline says so.
  EXPECT_GE(r.timeline.bytes(), withoutEdits + 2 * 2 * sizeof(World));

  ASSERT_EQ(r.timeline.undo(r.g), std::nullopt);
  EXPECT_EQ(r.g.world.PlanetOff[2], 0);
  EXPECT_EQ(r.g.Chon->caption(), "Planet ON");
  EXPECT_EQ(r.g.world.MomentumX[2], 12.5);
  ASSERT_EQ(r.timeline.undo(r.g), std::nullopt);
  EXPECT_EQ(r.g.world.MomentumX[2], before.MomentumX[2]);
  EXPECT_EQ(r.timeline.undo(r.g), "nothing to undo");
  EXPECT_EQ(r.g.TXg[kTxgExponent]->text(), "1.9") << "undo leaves the panel alone";
  // Only what the panel changed differs from the state before the edits.
  EXPECT_EQ(r.g.world.PlanetGravity[0], sunGravity);
  World withoutPanel = r.g.world;
  withoutPanel.PlanetGravity[0] = before.PlanetGravity[0];
  EXPECT_EQ(worldHash(withoutPanel), worldHash(before));

  ASSERT_EQ(r.timeline.redo(r.g), std::nullopt);
  EXPECT_EQ(r.g.TXTp[kTxtpMomentumX]->text(), "12.5");
  ASSERT_EQ(r.timeline.redo(r.g), std::nullopt);
  EXPECT_EQ(worldHash(r.g.world), twoEdits);
  EXPECT_EQ(r.timeline.redo(r.g), "nothing to redo");

  // A new edit after an undo ends what could be redone; a resume ends the pause's.
  ASSERT_EQ(r.timeline.undo(r.g), std::nullopt);
  r.enter(*r.g.TXTp[kTxtpY], "4000");
  EXPECT_FALSE(r.timeline.canRedo());
  r.pause();
  r.ticks(1);
  r.pause();
  EXPECT_FALSE(r.timeline.canUndo());
}

// Saving at a moment saves that moment; the opened system's timeline starts there.
TEST(TimelineEdits, SavingAtAMomentSavesItAndOpeningStartsAfresh) {
  const auto file = std::filesystem::temp_directory_path() / "velmora-timeline-test.velmora";
  Player r;
  freezeSeed(r, 21);
  playerClick(*r.g.Command2);
  r.ticks(120);
  r.pause();
  ASSERT_EQ(r.timeline.seek(r.g, 70), std::nullopt);
  ASSERT_TRUE(saveSystemTelling(r.g, file.string())) << r.messages.str();

  Player opened;
  ASSERT_TRUE(openSystemTelling(opened.g, file.string())) << opened.messages.str();
  EXPECT_EQ(opened.timeline.tick(), 0);
  EXPECT_EQ(opened.timeline.last(opened.g), 0);
  for (Player* p : {&r, &opened}) {
    p->pause();
    p->ticks(50);
    p->pause();
  }
  EXPECT_TRUE(outcome(opened.g) == outcome(r.g)) << difference(outcome(opened.g), outcome(r.g));
  EXPECT_EQ(opened.timeline.last(opened.g), 50);
  std::filesystem::remove(file);
}

TEST(TimelineMemory, ThinsOldKeyframesAndKeepsTheMomentOfGo) {
  Player r;
  freezeSeed(r, 8);
  playerClick(*r.g.Command2);
  r.ticks(600);
  const size_t full = r.timeline.bytes();
  const size_t count = r.timeline.keyframeCount();
  EXPECT_GE(count, size_t{600 / kSpacing});
  // Besides the keyframes: the latest keyframe's picture whole, for the change to
  // the next, and the room packing works in, a picture's worth.
  const size_t pictures = 2 * r.g.surface.pixels().size() * sizeof(uint32_t);
  const size_t budget = pictures + (full - pictures) / 2;
  r.timeline.setBudget(budget);
  EXPECT_LE(r.timeline.bytes(), budget);
  const auto ticks = r.timeline.keyframeTicks();
  EXPECT_LT(ticks.size(), count);
  EXPECT_EQ(ticks.front(), 0);
  r.ticks(100);  // the game goes on past the budget
  EXPECT_LE(r.timeline.bytes(), budget) << r.timeline.keyframeCount() << " keyframes";
  r.pause();

  // Far from any keyframe left, a moment is still the run's.
  Player same;
  freezeSeed(same, 8);
  playerClick(*same.g.Command2);
  same.ticks(450);
  same.pause();
  ASSERT_EQ(r.timeline.seek(r.g, 0), std::nullopt);
  ASSERT_EQ(r.timeline.seek(r.g, 450), std::nullopt);
  EXPECT_TRUE(outcome(r.g) == outcome(same.g)) << difference(outcome(r.g), outcome(same.g));
}

// A far seek tells how far its replay has come: from nothing, in order, up to what
// is left of the stretch from the keyframe before the moment.
TEST(TimelineSeek, TellsItsProgressAlongTheReplay) {
  Player r;
  freezeSeed(r, 4);
  playerClick(*r.g.Command2);
  r.ticks(100);
  r.pause();
  std::vector<std::pair<long long, long long>> heard;
  const Timeline::Progress listen = [&](long long done, long long total) {
    heard.emplace_back(done, total);
  };
  ASSERT_EQ(r.timeline.seek(r.g, 2 * kSpacing + 30, listen), std::nullopt);
  ASSERT_FALSE(heard.empty());
  EXPECT_EQ(heard.front(), std::make_pair(0LL, 30LL));
  for (size_t i = 1; i < heard.size(); ++i) {
    EXPECT_EQ(heard[i].first, heard[i - 1].first + Timeline::kProgressTicks);
    EXPECT_EQ(heard[i].second, 30);
  }
  EXPECT_LT(heard.back().first, 30);
  heard.clear();
  ASSERT_EQ(r.timeline.seek(r.g, 2 * kSpacing), std::nullopt);
  ASSERT_EQ(r.timeline.back(r.g, listen), std::nullopt);
  EXPECT_EQ(r.timeline.tick(), 2 * kSpacing - 1);
  EXPECT_EQ(heard.front(), std::make_pair(0LL, kSpacing - 1));
}

// A keyframe's picture kept as the change from the one before: taken, applied,
// undone and joined exactly, and refused when it would keep too much.
TEST(PictureChange, TakesAppliesAndJoinsExactly) {
  std::mt19937 rng(3);
  std::vector<uint32_t> a(5000);
  for (uint32_t& p : a) p = rng() % 3 == 0 ? rng() : 0xFF000000u;
  auto changed = [&](std::vector<uint32_t> p, int n) {
    for (int i = 0; i < n; ++i) p[rng() % p.size()] = rng();
    return p;
  };
  const std::vector<uint32_t> b = changed(a, 300);
  const std::vector<uint32_t> c = changed(b, 200);
  std::vector<uint32_t> room;
  const auto ab = changeBetween(a, b, SIZE_MAX, room);
  const auto bc = changeBetween(b, c, SIZE_MAX, room);
  ASSERT_TRUE(ab && bc);
  std::vector<uint32_t> p = a;
  applyChange(p, *ab);
  EXPECT_EQ(p, b);
  applyChange(p, *ab);
  EXPECT_EQ(p, a) << "a change applied twice undoes itself";
  p = a;
  applyChange(p, joinChanges(*ab, *bc));
  EXPECT_EQ(p, c);
  EXPECT_FALSE(changeBetween(a, b, 100, room)) << "300 pixels changed take more than 100 words";
  EXPECT_FALSE(changeBetween(a, std::vector<uint32_t>(10), SIZE_MAX, room)) << "another size";
  EXPECT_TRUE(changeBetween(a, a, 0, room)) << "no change takes no words";
}

// Many keyframes in a row, more than a whole picture may be followed by: every
// moment, rebuilt through the changes, is the run's.
TEST(TimelineSeek, MomentsFarDownAChainOfChangesAreTheRuns) {
  Player r;
  r.timeline.setKeyframeSpacing(3);
  freezeSeed(r, 21);
  playerClick(*r.g.Command2);
  r.ticks(240);
  r.pause();
  ASSERT_GT(r.timeline.keyframeCount(), size_t{2 * Timeline::kLongestChain});
  for (const long long at : {200LL, 101LL, 239LL}) {
    Player same;
    freezeSeed(same, 21);
    playerClick(*same.g.Command2);
    same.ticks(at);
    same.pause();
    ASSERT_EQ(r.timeline.seek(r.g, at), std::nullopt);
    EXPECT_TRUE(outcome(r.g) == outcome(same.g))
        << at << ": " << difference(outcome(r.g), outcome(same.g));
  }
}

TEST(TimelineBadInput, RefusesAndChangesNothing) {
  Player r;
  freezeSeed(r, 3);
  EXPECT_EQ(r.timeline.seek(r.g, 0), "there is no system yet");
  EXPECT_EQ(r.timeline.back(r.g), "there is no system yet");
  playerClick(*r.g.Command2);
  r.ticks(20);
  EXPECT_EQ(r.timeline.seek(r.g, 5), "the game is not paused");
  r.pause();
  const Outcome paused = outcome(r.g);
  EXPECT_EQ(r.timeline.seek(r.g, 21), "tick 21 is outside the timeline 0..20");
  EXPECT_EQ(r.timeline.seek(r.g, -1), "tick -1 is outside the timeline 0..20");
  EXPECT_EQ(r.timeline.undo(r.g), "nothing to undo");
  EXPECT_TRUE(outcome(r.g) == paused);
  ASSERT_EQ(r.timeline.seek(r.g, 0), std::nullopt);
  EXPECT_EQ(r.timeline.back(r.g), "the timeline is at its start");
  EXPECT_EQ(r.timeline.tick(), 0);
}

}  // namespace
}  // namespace velmora
