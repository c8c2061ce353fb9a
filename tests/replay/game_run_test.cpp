// Whole games from a frozen seed, played as a player would: each preset run and a
// pause-edit-resume run give golden values of the tables, the draws and the surface.
// The script runner plays the same games (tests/script/golden_run_test.cpp); these
// run on the core alone, so every build of the core checks them.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "core/game_fixture.h"
#include "core/sim_test_world.h"

namespace velmora {
namespace {

using testing::GameFixture;

uint64_t gameHash(const Game& g) {
  const World& w = g.world;
  uint64_t h = testing::fnv1a(w.PlanetX.data(), sizeof w.PlanetX);
  h = testing::fnv1a(w.PlanetY.data(), sizeof w.PlanetY, h);
  h = testing::fnv1a(w.MomentumX.data(), sizeof w.MomentumX, h);
  h = testing::fnv1a(w.MomentumY.data(), sizeof w.MomentumY, h);
  h = testing::fnv1a(w.PlanetGravity.data(), sizeof w.PlanetGravity, h);
  h = testing::fnv1a(w.PlanetType.data(), sizeof w.PlanetType, h);
  h = testing::fnv1a(w.PlanetRed.data(), sizeof w.PlanetRed, h);
  h = testing::fnv1a(w.PlanetGreen.data(), sizeof w.PlanetGreen, h);
  h = testing::fnv1a(w.PlanetBlue.data(), sizeof w.PlanetBlue, h);
  h = testing::fnv1a(w.PlanetOff.data(), sizeof w.PlanetOff, h);
  h = testing::fnv1a(&w.PlanetCount, sizeof w.PlanetCount, h);
  const auto& pixels = g.surface.pixels();
  h = testing::fnv1a(pixels.data(), pixels.size() * sizeof(uint32_t), h);
  const uint64_t draws = g.rng.draws();
  return testing::fnv1a(&draws, sizeof draws, h);
}

// The seed frozen at 7, the preset, "Go".
void startPreset(GameFixture& f, int preset) {
  Game& g = f.g;
  f.click(*g.CHran);
  f.enter(*g.TXran, "7");
  f.click(*g.CDp[preset - 1]);
  f.click(*g.Command2);
}

constexpr int kTicks = 2000;

struct PresetGolden {
  int preset;
  uint64_t hash;
};

class GameRunPreset : public ::testing::TestWithParam<PresetGolden> {};

TEST_P(GameRunPreset, FrozenSeedReplaysItsGoldenRun) {
  GameFixture f;
  Game& g = f.g;
  startPreset(f, GetParam().preset);
  ASSERT_TRUE(g.Ti->enabled());
  f.wait(kTicks * g.Ti->interval());
  // The run really moved, drew and spent random numbers.
  EXPECT_GT(g.world.ElapsedSeconds, 0);
  EXPECT_GT(g.rng.draws(), static_cast<uint64_t>(kTicks));
  EXPECT_EQ(gameHash(g), GetParam().hash) << std::hex << gameHash(g);
}

INSTANTIATE_TEST_SUITE_P(GameRun, GameRunPreset,
                         ::testing::Values(PresetGolden{3, 0xbe82d8861fc256bdull},
                                           PresetGolden{4, 0x81fd7e217f6fdc59ull},
                                           PresetGolden{5, 0xfa245d164d56bad9ull},
                                           PresetGolden{6, 0xa5114d2af9377de1ull}),
                         [](const auto& p) { return "Preset" + std::to_string(p.param.preset); });

TEST(GameRun, PauseEditResumeReplaysItsGoldenRun) {
  GameFixture f;
  Game& g = f.g;
  startPreset(f, 3);
  f.wait(300 * g.Ti->interval());
  f.click(*g.Command5);  // pause: the editor opens
  ASSERT_FALSE(g.Ti->enabled());
  f.scroll(*g.Qui, 3);
  f.enter(*g.TXTp[4], "0.05");  // body 3's gravity
  f.scroll(*g.Qui, 5);
  f.enter(*g.TXTp[0], "4000");  // body 5's x
  f.enter(*g.TXTp[2], "-3");    // and its momentum in x
  f.scroll(*g.Qui, 7);
  f.click(*g.Chon);      // body 7 off
  f.click(*g.Command5);  // resume
  ASSERT_TRUE(g.Ti->enabled());
  EXPECT_EQ(g.world.PlanetGravity[3], 0.05);
  EXPECT_EQ(g.world.PlanetOff[7], 1);
  f.wait(700 * g.Ti->interval());
  EXPECT_EQ(gameHash(g), 0xe813e75972eabd77ull) << std::hex << gameHash(g);
}

}  // namespace
}  // namespace velmora
