// The exact future: a preview runs the paused game's next ticks on copies, and the
// game resumed for as many ticks arrives exactly there.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>

#include "app/preview.h"
#include "app/time_control.h"
#include "game_fixture.h"

namespace velmora {
namespace {

using testing::GameFixture;

struct PreviewCase {
  const char* name;
  int preset;  // 3..6
  int border;  // Och index
  const char* exponent;
};

class PreviewExact : public ::testing::TestWithParam<PreviewCase> {};

bool sameBits(const Table<double>& a, const Table<double>& b) {
  return std::memcmp(a.data(), b.data(), sizeof a) == 0;
}

TEST_P(PreviewExact, ResumingForTheTicksArrivesAtThePreviewBitForBit) {
  const PreviewCase& c = GetParam();
  GameFixture f;
  Game& g = f.g;
  f.click(*g.CHran);
  f.enter(*g.TXran, "11");
  f.click(*g.CDp[c.preset - 1]);
  f.click(*g.Och[c.border]);
  if (g.Chbi->value() == 0) f.click(*g.Chbi);
  f.enter(*g.TXg[2], c.exponent);
  f.click(*g.Command2);
  const int period = g.Ti->interval();
  f.wait(40 * period);
  f.click(*g.Command5);
  ASSERT_TRUE(pausedForEditing(g));

  constexpr int kTicks = 120;
  const uint64_t draws = g.rng.draws();
  const uint64_t generation = g.surface.generation();
  const World before = g.world;
  const World future = runAhead(futureStart(g), kTicks);
  // The live game drew nothing and changed nothing.
  EXPECT_EQ(g.rng.draws(), draws);
  EXPECT_EQ(g.surface.generation(), generation);
  EXPECT_TRUE(sameBits(g.world.PlanetX, before.PlanetX));
  EXPECT_TRUE(sameBits(g.world.MomentumY, before.MomentumY));
  EXPECT_FALSE(sameBits(future.PlanetX, before.PlanetX));

  f.click(*g.Command5);
  f.wait(kTicks * period);
  f.click(*g.Command5);
  EXPECT_GT(g.rng.draws(), draws);  // the run drew: the preview's own copy drew the same
  for (int i = 0; i <= g.world.PlanetCount; ++i) {
    if (g.world.PlanetOff[i] != 0) continue;
    ASSERT_EQ(std::memcmp(&g.world.PlanetX[i], &future.PlanetX[i], sizeof(double)), 0)
        << "body " << i << ": " << g.world.PlanetX[i] << " against " << future.PlanetX[i];
    ASSERT_EQ(std::memcmp(&g.world.PlanetY[i], &future.PlanetY[i], sizeof(double)), 0)
        << "body " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Presets, PreviewExact,
                         ::testing::Values(PreviewCase{"TwinNovaChaos", 3, 4, "2"},
                                           PreviewCase{"TwinNovaRemainsWall", 4, 1, "1.7"},
                                           PreviewCase{"SunNovaChaos", 5, 4, "1.7"},
                                           PreviewCase{"SmallStarNovaWall", 6, 1, "2"},
                                           PreviewCase{"TwinNovaWall", 3, 1, "1.7"},
                                           PreviewCase{"SmallStarNovaChaos", 6, 4, "2"}),
                         [](const auto& row) { return std::string(row.param.name); });

// The window runs its preview on a thread of its own while the game may step: the
// run beside, kept to its thread, and the game's steps each give their own bits.
TEST(PreviewAlone, ARunBesideTheGamesStepsChangesNeitherOfThem) {
  GameFixture f;
  Game& g = f.g;
  f.click(*g.CHran);
  f.click(*g.CDp[kPresetSunNova]);
  f.click(*g.Och[1]);
  if (g.Chbi->value() != 0) f.click(*g.Chbi);
  f.click(*g.Command2);
  f.wait(20 * g.Ti->interval());
  f.click(*g.Command5);
  ASSERT_TRUE(pausedForEditing(g));

  constexpr int kTicks = 30;
  const World expected = runAhead(futureStart(g), kTicks);
  const FutureStart start = futureStart(g);
  World beside;
  std::thread worker([&] { beside = runAhead(start, kTicks, {}, true); });
  for (int t = 0; t < kTicks; ++t) ASSERT_TRUE(stepOnce(g));
  worker.join();
  EXPECT_TRUE(sameBits(beside.PlanetX, expected.PlanetX));
  EXPECT_TRUE(sameBits(beside.MomentumY, expected.MomentumY));
  EXPECT_TRUE(sameBits(g.world.PlanetX, expected.PlanetX));
  EXPECT_TRUE(sameBits(g.world.PlanetY, expected.PlanetY));
}

}  // namespace
}  // namespace velmora
