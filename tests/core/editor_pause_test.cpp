#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "editor_fixture.h"

namespace velmora {
namespace {

using testing::GameFixture;
using testing::pauseOrResume;
using testing::startSystem;

TEST(EditorPause, FirstPauseShowsBodyZeroAfterBodyOne) {
  GameFixture f;
  Game& g = f.g;
  startSystem(f, 10);
  g.world.PlanetType[1] = 99;
  g.world.ElapsedSeconds = 42;
  g.TXTOden->setText("5");  // the first pause goes through body 1 whatever the field says
  std::vector<std::string> selections;
  g.fs7.observe([&](Control& c, Prop p) {
    if (&c == g.TXTOden && p == Prop::Text) selections.push_back(c.text());
  });

  pauseOrResume(f);

  EXPECT_EQ(selections, (std::vector<std::string>{"1", "0"}));
  EXPECT_EQ(g.world.PlanetType[1], 4);  // body 1 was shown on the way
  EXPECT_EQ(g.Qui->value(), 0);
  EXPECT_EQ(g.Qui->max(), 10);
  EXPECT_EQ(g.TxTyp->text(), "0");
  EXPECT_EQ(g.TXTp[0]->text(), "2000");
  EXPECT_FALSE(g.ImSun->visible());
  EXPECT_FALSE(g.Ti->enabled());
  EXPECT_FALSE(g.TiK->enabled());
  EXPECT_TRUE(g.TiF->enabled());
  for (Control* c : {g.TXTOden, g.TxTyp, g.La[0], g.La[16], g.Qui, g.Frame2, g.Chon, g.LaVida,
                     g.Label10, g.Shark, g.TXTp[4], g.Label6[4]}) {
    EXPECT_TRUE(c->visible()) << c->id();
  }
  EXPECT_TRUE(g.Opadd[0]->selected());
  EXPECT_FALSE(g.Hsp[0]->visible());
  EXPECT_FALSE(g.TXTp[0]->locked());
  EXPECT_EQ(g.Hsp[0]->max(), kDefaultWindowWidth);
  EXPECT_EQ(g.Hsp[1]->max(), kDefaultWindowHeight);
  EXPECT_EQ(g.Chon->caption(), "Planet ON");
  EXPECT_EQ(g.world.LastDisturbance, 42);
}

TEST(EditorPause, ResumeRunsAgainWithNoModeAndTheSunShown) {
  GameFixture f;
  Game& g = f.g;
  startSystem(f, 10);
  pauseOrResume(f);
  f.click(*g.Opadd[1]);
  ASSERT_TRUE(g.TXTp[0]->locked());
  ASSERT_FALSE(g.ImSun->visible());  // body 0 is shown
  g.world.ElapsedSeconds = 77;

  pauseOrResume(f);

  EXPECT_TRUE(g.Ti->enabled());
  EXPECT_TRUE(g.TiK->enabled());
  EXPECT_FALSE(g.TiF->enabled());
  EXPECT_TRUE(g.ImSun->visible());
  EXPECT_EQ(g.world.LastDisturbance, 77);
  EXPECT_FALSE(g.Opadd[0]->selected());
  EXPECT_FALSE(g.Opadd[1]->selected());
  for (Control* c : {g.TXTOden, g.TxTyp, g.La[0], g.Qui, g.Frame2, g.Chon, g.LaVida, g.Label10,
                     g.Shark, g.TXTp[0], g.TXTp[4], g.Label6[0], g.Hsp[0]}) {
    EXPECT_FALSE(c->visible()) << c->id();
  }

  pauseOrResume(f);  // selecting decimal mode again raises its click
  EXPECT_FALSE(g.TXTp[0]->locked());
  EXPECT_FALSE(g.Hsp[0]->visible());
}

TEST(EditorPause, ReopensOnTheLastSelectedBodyWithoutAChange) {
  GameFixture f;
  Game& g = f.g;
  startSystem(f, 10);
  pauseOrResume(f);
  f.scroll(*g.Qui, 7);
  ASSERT_EQ(g.TXTOden->text(), "7");
  // A world at rest, so that the ticks while running leave body 7 where it was.
  for (int i = 0; i <= 10; ++i) {
    g.world.PlanetGravity[i] = 0;
    g.world.MomentumX[i] = 0;
    g.world.MomentumY[i] = 0;
  }
  pauseOrResume(f);
  f.wait(300);

  int changes = 0;
  g.fs7.observe([&](Control& c, Prop p) {
    if (&c == g.Qui && p == Prop::Value) ++changes;
  });
  pauseOrResume(f);

  EXPECT_EQ(changes, 0);
  EXPECT_EQ(g.TXTOden->text(), "7");
  EXPECT_EQ(g.TXTp[0]->text(), "2260.75");
  EXPECT_EQ(g.Shark->left(), 2036);  // 2260.75 - 225, rounded
  EXPECT_TRUE(g.ImSun->visible());
}

TEST(EditorPause, DeadAliveCaption) {
  GameFixture f;
  Game& g = f.g;
  startSystem(f, 24);
  for (int i : {3, 9, 17}) g.world.PlanetOff[i] = 1;
  g.Chalive->setValue(0);
  pauseOrResume(f);
  EXPECT_EQ(g.LaVida->caption(), " 3 dead, alive 22");
}

TEST(EditorPause, SelectorMaximumFromAnyPlanetCountText) {
  const struct {
    const char* text;
    int max;
  } rows[] = {{"12abc", 12}, {"7.5", 8}, {"2000", 999}, {"abc", 0}, {"-4", 4}, {"-5000", 999}};
  for (const auto& row : rows) {
    GameFixture f;
    startSystem(f, 20);
    f.g.TXn->setText(row.text);
    pauseOrResume(f);
    EXPECT_EQ(f.g.Qui->max(), row.max) << row.text;
  }
}

// "Go" makes as many planets of a negative count as of a positive one; the
// selector reaches every one of them.
TEST(EditorPause, ANegativePlanetCountReachesEveryPlanetItMade) {
  GameFixture f;
  f.enter(*f.g.TXw[0], "-5");
  f.click(*f.g.Command2);
  ASSERT_EQ(f.g.world.PlanetCount, 5);
  pauseOrResume(f);
  EXPECT_EQ(f.g.Qui->max(), 5);
  f.scroll(*f.g.Qui, 5);
  EXPECT_EQ(f.g.TXTOden->text(), "5");
}

TEST(EditorPause, SelectorMaximumZeroShowsBodyZeroWithoutBodyOne) {
  GameFixture f;
  Game& g = f.g;
  startSystem(f, 10);
  g.TXn->setText("0");
  g.world.PlanetType[0] = 3;
  g.world.PlanetType[1] = 99;
  g.world.MomentumX[0] = 5000;
  pauseOrResume(f);
  EXPECT_EQ(g.world.PlanetType[1], 99);
  EXPECT_EQ(g.world.PlanetType[0], 0);
  EXPECT_EQ(g.world.MomentumX[0], 999);
  EXPECT_EQ(g.TXTOden->text(), "0");
  EXPECT_EQ(g.TXTp[2]->text(), "999");
  EXPECT_TRUE(g.Shark->visible());
}

TEST(EditorPause, PositionBarsOfAHugeWindowSaturate) {
  GameFixture f;
  startSystem(f, 3);
  f.g.resize(40000, 70000);
  pauseOrResume(f);
  EXPECT_EQ(f.g.Hsp[0]->max(), 32767);
  EXPECT_EQ(f.g.Hsp[1]->max(), 32767);
}

template <class T>
void expectSameBits(const Table<T>& a, const Table<T>& b, const char* name) {
  for (int i = 0; i < kMaxBodies; ++i) {
    if constexpr (sizeof(T) == 8) {
      ASSERT_EQ(std::bit_cast<uint64_t>(a[i]), std::bit_cast<uint64_t>(b[i])) << name << i;
    } else {
      ASSERT_EQ(a[i], b[i]) << name << i;
    }
  }
}

TEST(EditorPause, PauseAndResumeWithoutEditsLeaveTheRunUnchanged) {
  GameFixture plain;
  GameFixture paused;
  for (GameFixture* f : {&plain, &paused}) {
    startSystem(*f, 40);
    f->g.world.PlanetOff[13] = 1;
    f->g.rng.seed(46);
  }
  int ticksPlain = 0;
  int ticksPaused = 0;
  for (auto [f, n] : {std::pair{&plain, &ticksPlain}, std::pair{&paused, &ticksPaused}}) {
    Control::Handler tick = f->g.Ti->onTimer;
    f->g.Ti->onTimer = [n, tick] {
      ++*n;
      tick();
    };
  }

  plain.wait(15 * 200);
  paused.wait(15 * 80);
  pauseOrResume(paused);
  paused.scroll(*paused.g.Qui, 13);  // off: "live only" skips to 14
  paused.wait(2000);
  pauseOrResume(paused);
  paused.wait(15 * 120);

  EXPECT_EQ(ticksPlain, 200);
  EXPECT_EQ(ticksPaused, 200);
  const World& a = plain.g.world;
  const World& b = paused.g.world;
  expectSameBits(a.PlanetX, b.PlanetX, "PlanetX");
  expectSameBits(a.PlanetY, b.PlanetY, "PlanetY");
  expectSameBits(a.MomentumX, b.MomentumX, "MomentumX");
  expectSameBits(a.MomentumY, b.MomentumY, "MomentumY");
  expectSameBits(a.PlanetGravity, b.PlanetGravity, "PlanetGravity");
  expectSameBits(a.PlanetOff, b.PlanetOff, "PlanetOff");
  EXPECT_EQ(plain.g.rng.draws(), paused.g.rng.draws());
  EXPECT_EQ(plain.g.rng.next(), paused.g.rng.next());
}

}  // namespace
}  // namespace velmora
