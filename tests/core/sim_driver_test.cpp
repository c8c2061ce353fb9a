// The order of one tick: which stage runs for which body or pair.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/tick_driver.h"
#include "sim_test_world.h"

namespace velmora {
namespace {

using Log = std::vector<std::string>;

// Records every stage call; may switch a body off at its border step or absorb the
// outer body of its first merge, as "die" and a merge would.
struct RecordingStages {
  explicit RecordingStages(World& world) : w(world) {}
  World& w;
  Log log;
  int dieAtBorder = -1;
  bool absorbOuterOnce = false;

  void note(const std::string& what, int a, int b = -1) {
    log.push_back(what + " " + std::to_string(a) + (b < 0 ? "" : " " + std::to_string(b)));
  }
  void move(int i) { note("move", i); }
  void border(int i) {
    note("border", i);
    if (i == dieAtBorder) w.PlanetOff[i] = 1;
  }
  void startBody(int i) { note("start", i); }
  void pair(int i, int j) { note("pair", i, j); }
  void draw(int i) { note("draw", i); }
  void accelerate(int i) { note("accelerate", i); }
  void merge(int a, int b) {
    note("merge", a, b);
    if (absorbOuterOnce) {
      w.PlanetOff[a] = 1;
      absorbOuterOnce = false;
    }
  }
};

TEST(SimDriver, ThreeBodiesOneOffWithFixedSunAndBinding) {
  auto w = testing::makeWorld({{}, {.off = 1}, {}});
  RecordingStages stages(*w);
  sim::TickInputs in;
  in.sunFixed = true;
  in.bind = true;
  sim::driveTick(*w, in, stages);
  // The off body gets only its border step and its (empty) sums; the fixed sun
  // neither moves nor accelerates but pulls, is drawn and merges.
  const Log expected = {"move 2",   "border 2", "border 1",     "border 0", "start 2",
                        "pair 2 0", "draw 2",   "accelerate 2", "start 1",  "start 0",
                        "pair 0 2", "draw 0",   "merge 2 0",    "merge 0 2"};
  EXPECT_EQ(stages.log, expected);
}

TEST(SimDriver, DriftingSunWithoutBindingMergesNothing) {
  auto w = testing::makeWorld({{}, {.off = 1}, {}});
  RecordingStages stages(*w);
  sim::TickInputs in;
  in.sunFixed = false;
  in.bind = false;
  sim::driveTick(*w, in, stages);
  const Log expected = {"move 2",  "border 2", "border 1", "move 0",       "border 0",
                        "start 2", "pair 2 0", "draw 2",   "accelerate 2", "start 1",
                        "start 0", "pair 0 2", "draw 0",   "accelerate 0"};
  EXPECT_EQ(stages.log, expected);
}

TEST(SimDriver, BodyKilledAtTheBorderIsOutOfTheGravityPass) {
  auto w = testing::makeWorld({{}, {}, {}});
  RecordingStages stages(*w);
  stages.dieAtBorder = 2;
  sim::TickInputs in;
  in.bind = false;
  sim::driveTick(*w, in, stages);
  const Log expected = {"move 2",       "border 2", "move 1",   "border 1", "move 0",
                        "border 0",     "start 2",  "start 1",  "pair 1 0", "draw 1",
                        "accelerate 1", "start 0",  "pair 0 1", "draw 0",   "accelerate 0"};
  EXPECT_EQ(stages.log, expected);
}

TEST(SimDriver, AbsorbedOuterBodyEndsItsRowOfTheMergingPass) {
  auto w = testing::makeWorld({{}, {}, {}});
  RecordingStages stages(*w);
  stages.absorbOuterOnce = true;
  sim::driveTick(*w, sim::TickInputs{}, stages);
  const Log tail(stages.log.end() - 3, stages.log.end());
  // merge 2 1 switches body 2 off: "merge 2 0" and every pair with 2 are skipped.
  const Log expected = {"merge 2 1", "merge 1 0", "merge 0 1"};
  EXPECT_EQ(tail, expected);
}

TEST(SimDriver, NegativeCountVisitsNobodyAndHugeCountStaysInTheTables) {
  auto w = testing::makeWorld({{}});
  w->PlanetCount = -1;
  RecordingStages none(*w);
  sim::driveTick(*w, sim::TickInputs{}, none);
  EXPECT_TRUE(none.log.empty());

  w->PlanetCount = 32000;
  for (auto& off : w->PlanetOff) off = 1;
  RecordingStages all(*w);
  sim::driveTick(*w, sim::TickInputs{}, all);
  ASSERT_FALSE(all.log.empty());
  EXPECT_EQ(all.log.front(), "border 999");
}

}  // namespace
}  // namespace velmora
