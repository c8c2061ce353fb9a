// Body dots and impact sparks.
#include "sim/bomb.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <memory>
#include <ostream>
#include <vector>

namespace velmora {
namespace {

int below(Rng& rng, int n) {
  return static_cast<int>(std::floor(static_cast<double>(rng.next()) * n));
}

struct BombTest : ::testing::Test {
  BombTest() {
    world->PlanetRed[0] = 255;
    world->PlanetGreen[0] = 191;
    world->PlanetBlue[0] = 128;
    rng.seed(77);
  }
  std::unique_ptr<World> world = std::make_unique<World>();
  Rng rng;
  Surface surface{17895, 13320};
};

TEST_F(BombTest, DotOfTheSunIsOnePointInItsColourAndTakesTwoDraws) {
  const uint64_t before = surface.generation();
  Bomb(5000, 3000, 1, 0, 0, *world, rng, surface);
  EXPECT_EQ(rng.draws(), 2u);
  EXPECT_EQ(surface.generation() - before, 1u);
  EXPECT_EQ(surface.pixel((5000 - 900) / 15, 3000 / 15), Surface::pack({255, 191, 128}));
}

TEST_F(BombTest, DotUsesTheColourOfOplRoundedHalfToEven) {
  world->PlanetRed[3] = 10.5f;
  world->PlanetGreen[3] = 11.5f;
  world->PlanetBlue[3] = 200;
  Bomb(1000, 15, 1, 0, 3, *world, rng, surface);
  EXPECT_EQ(surface.pixel(6, 1), Surface::pack({10, 12, 200}));
}

struct SparkRedRow {
  const char* name;
  float redA;
  float redB;
  int red;
};

void PrintTo(const SparkRedRow& row, std::ostream* os) {
  *os << row.name;
}

class SparkRed : public ::testing::TestWithParam<SparkRedRow> {};

TEST_P(SparkRed, IsTheMeanRedRoundedHalfToEvenAndCapped) {
  const SparkRedRow& row = GetParam();
  auto world = std::make_unique<World>();
  world->PlanetRed[1] = row.redA;
  world->PlanetRed[2] = row.redB;
  Rng rng;
  rng.seed(5);
  Rng replica = rng;
  Surface surface{17895, 13320};
  Bomb(8000, 6000, 2, 1, 2, *world, rng, surface);
  const int green = below(replica, 255);
  const int blue = below(replica, 255);
  const int dx = below(replica, 240) - 120;
  const int dy = below(replica, 240) - 120;
  EXPECT_EQ(surface.pixel((8000 + dx - 900) / 15, (6000 + dy) / 15),
            Surface::pack({row.red, green, blue}));
}

INSTANTIATE_TEST_SUITE_P(Rows, SparkRed,
                         ::testing::Values(SparkRedRow{"HalfDownToEven", 50, 51, 50},
                                           SparkRedRow{"HalfUpToEven", 51, 52, 52},
                                           SparkRedRow{"Whole", 100, 60, 80},
                                           SparkRedRow{"CappedAt255", 300, 400, 255}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(BombTest, SparksAreTwentySixPointsInOneColourWithinTheSquare) {
  world->PlanetRed[4] = 90;
  world->PlanetRed[7] = 110;
  Rng replica = rng;
  const uint64_t before = surface.generation();
  Bomb(9000, 6000, 2, 4, 7, *world, rng, surface);
  EXPECT_EQ(rng.draws(), 54u);
  EXPECT_EQ(surface.generation() - before, 26u);

  const uint32_t colour = Surface::pack({100, below(replica, 255), below(replica, 255)});
  for (int k = 0; k < 26; ++k) {
    const int dx = below(replica, 240) - 120;
    const int dy = below(replica, 240) - 120;
    ASSERT_GE(dx, -120);
    ASSERT_LE(dx, 119);
    ASSERT_GE(dy, -120);
    ASSERT_LE(dy, 119);
    EXPECT_EQ(surface.pixel((9000 + dx - 900) / 15, (6000 + dy) / 15), colour) << "spark " << k;
  }
}

TEST_F(BombTest, WideWindowsNeitherOverflowNorWrapAndOutsidePointsAreDropped) {
  Surface wide{40000, 3000};
  uint64_t before = wide.generation();
  Bomb(38000, 1500, 2, 0, 0, *world, rng, wide);
  EXPECT_EQ(wide.generation() - before, 26u);

  // At the ends of the 32-bit range the sparks fall off the surface, not onto it.
  before = wide.generation();
  Bomb(INT32_MAX, INT32_MIN, 2, 0, 0, *world, rng, wide);
  Bomb(INT32_MIN, INT32_MAX, 1, 0, 0, *world, rng, wide);
  EXPECT_EQ(wide.generation(), before);
  EXPECT_EQ(rng.draws(), 54u + 54u + 2u);

  // Fetching ahead for a plot, on the surface or far off it, changes nothing.
  const std::vector<uint32_t> pixels = wide.pixels();
  for (const int64_t at : {int64_t{INT32_MIN} - 120, int64_t{0}, int64_t{9000}, int64_t{38000},
                           int64_t{INT32_MAX} + 120}) {
    wide.prefetch(at, at);
    wide.prefetch(at, 1500);
  }
  EXPECT_EQ(wide.generation(), before);
  EXPECT_EQ(wide.pixels(), pixels);
}

TEST(FloorTwips, RoundsDownAndSaturates) {
  EXPECT_EQ(floorTwips(12.7), 12);
  EXPECT_EQ(floorTwips(-0.5), -1);
  EXPECT_EQ(floorTwips(-3.0), -3);
  EXPECT_EQ(floorTwips(3e10), INT32_MAX);
  EXPECT_EQ(floorTwips(-3e10), INT32_MIN);
  EXPECT_EQ(floorTwips(std::numeric_limits<double>::quiet_NaN()), INT32_MIN);
}

}  // namespace
}  // namespace velmora
