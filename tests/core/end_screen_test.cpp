#include <gtest/gtest.h>

#include "game_fixture.h"

namespace velmora {
namespace {

using testing::GameFixture;

TEST(EndScreen, XHidesTheMainWindowAndShowsTheEndScreen) {
  GameFixture f(false);
  f.g.webPageUrl = "file:///opt/velmora/page.htm";
  f.g.load();
  ASSERT_FALSE(f.g.formEnd.visible());
  f.click(*f.g.Command1);
  EXPECT_FALSE(f.g.fs7.visible());
  EXPECT_TRUE(f.g.formEnd.visible());
  EXPECT_EQ(f.g.formEnd.caption(), "Form1");
  EXPECT_EQ(f.g.EndCommand2->caption(), "file:///opt/velmora/page.htm");
  EXPECT_FALSE(f.host.ended);
}

TEST(EndScreen, EitherXButtonEndsTheProgram) {
  for (int i = 0; i < 2; ++i) {
    GameFixture f;
    f.click(*f.g.Command1);
    f.click(*f.g.EndCommand1[i]);
    EXPECT_TRUE(f.host.ended) << i;
    EXPECT_TRUE(f.host.boxes.empty());
  }
}

TEST(WebLink, EveryLinkOpensThePage) {
  GameFixture f;
  f.click(*f.g.Command1);
  for (Control* link : {f.g.Command3, f.g.Command6, f.g.ImMoon, f.g.EndCommand2}) {
    f.click(*link);
  }
  EXPECT_EQ(f.host.opened, std::vector<std::string>(4, f.g.webPageUrl));
  EXPECT_TRUE(f.host.boxes.empty());
}

TEST(WebLink, NoBrowserShowsOneBoxPerClickAndTheGameGoesOn) {
  GameFixture f;
  f.host.browserWorks = false;
  f.g.world.PlanetCount = 3;
  f.g.world.StartHour = 12;
  f.g.TiK->setEnabled(true);
  f.wait(1000);
  f.click(*f.g.Command6);
  ASSERT_EQ(f.host.boxes.size(), 1u);
  EXPECT_EQ(f.host.boxes[0].first, "Cannot find Browser:");
  EXPECT_NE(f.host.boxes[0].second.find(f.g.webPageUrl), std::string::npos);
  f.click(*f.g.ImMoon);
  EXPECT_EQ(f.host.boxes.size(), 2u);
  EXPECT_TRUE(f.g.TiK->enabled());
  f.wait(2000);
  EXPECT_EQ(f.g.Label2->caption(), "3");
  EXPECT_FALSE(f.host.ended);
}

}  // namespace
}  // namespace velmora
