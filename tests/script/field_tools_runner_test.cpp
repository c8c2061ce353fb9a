// The runner's tools on the field: pick, drag, aim, add, orbit and preview, each
// only while paused, and PreviewX/PreviewY equal to the run that follows.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "played_script.h"
#include "script/runner.h"

namespace velmora {
namespace {

using Result = testing::PlayedScript;
using testing::play;

// Preset 3 from a frozen seed, 20 ticks in.
const std::string kStarted = "click CHran\nenter TXran 7\nclick CDp(2)\nclick Command2\nwait 300\n";

TEST(ScriptRunnerTools, EachToolOnlyWhilePausedAndChangingNothingOtherwise) {
  const Result r = play(kStarted +
                        "hash\npick 9000 6000\ndrag 1000 1000\naim 1 1\nadd 2000 2000\n"
                        "orbit\npreview 10\nhash\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err,
            "7: pick is not available\n8: drag is not available\n9: aim is not available\n"
            "10: add is not available\n11: orbit is not available\n"
            "12: preview is not available\n");
  const auto first = r.out.find("hash=");
  EXPECT_EQ(r.out.substr(first, 22), r.out.substr(r.out.rfind("hash="), 22));
}

TEST(ScriptRunnerTools, AddPickDragAimAndOrbitEditTheSelectedBody) {
  const Result r = play(kStarted +
                        "click Command5\n"
                        "add 5000 5000\nprint TXTOden.Text PlanetCount MomentumX(26)\n"
                        "pick 8000 8000\nprint TXTOden.Text\n"
                        "pick 5010 4990\nprint TXTOden.Text\n"
                        "drag 5500 100000\nprint PlanetX(26) PlanetY(26)\n"
                        "aim 3 -500\nprint MomentumX(26) MomentumY(26) TXTp(3).Text\n"
                        "orbit\nprint TXTOden.Text\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_NE(r.out.find("TXTOden.Text=26\nPlanetCount=26\nMomentumX(26)=0\n"), std::string::npos)
      << r.out;
  // Nothing within 20 pixels of (8000, 8000): the selection stays.
  EXPECT_NE(r.out.find("TXTOden.Text=26\nTXTOden.Text=26\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("PlanetX(26)=5500\nPlanetY(26)=13020\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("MomentumX(26)=3\nMomentumY(26)=-200\nTXTp(3).Text=-200\n"),
            std::string::npos)
      << r.out;
}

TEST(ScriptRunnerTools, PreviewIsWhereTheResumedRunArrives) {
  const Result r = play(kStarted +
                        "click Command5\npick 8947 6660\norbit\npreview 40\n"
                        "print PreviewX(0) PreviewY(0) PreviewX(12) PreviewY(12)\n"
                        "click Command5\nwait 600\nclick Command5\n"
                        "print PlanetX(0) PlanetY(0) PlanetX(12) PlanetY(12)\n");
  EXPECT_EQ(r.status, 0) << r.err;
  std::string preview = r.out.substr(0, r.out.find("PlanetX(0)"));
  for (const char* name : {"X(0)", "Y(0)", "X(12)", "Y(12)"}) {
    const std::string item = std::string(name);
    const auto at = preview.find("Preview" + item + "=");
    ASSERT_NE(at, std::string::npos);
    const std::string value =
        preview.substr(at + 8 + item.size(), preview.find('\n', at) - at - 8 - item.size());
    EXPECT_NE(r.out.find("Planet" + item + "=" + value + "\n"), std::string::npos)
        << item << " " << r.out;
  }
}

TEST(ScriptRunnerTools, NewThenGoIsAFreshProgramsGo) {
  const std::string panel = "click CHran\nenter TXran 9\nclick CDp(3)\nclick Och(4)\n";
  const Result fresh = play(panel + "click Command2\nwait 600\nhash\n");
  const Result again = play(panel +
                            "new\nclick Command2\nwait 900\nclick Command5\nadd 3000 3000\n"
                            "orbit\nnew\nprint Command2.Visible Command5.Visible PlanetX(1)\n"
                            "click Command2\nwait 600\nhash\n");
  EXPECT_EQ(again.err, "5: new is not available\n");
  EXPECT_NE(again.out.find("Command2.Visible=True\nCommand5.Visible=False\nPlanetX(1)=0\n"),
            std::string::npos)
      << again.out;
  ASSERT_NE(fresh.out.find("hash="), std::string::npos);
  EXPECT_EQ(again.out.substr(again.out.find("hash=")), fresh.out.substr(fresh.out.find("hash=")));
  EXPECT_EQ(play("new 1\n").status, 2);
}

TEST(ScriptRunnerTools, BadUsageStopsTheRun) {
  for (const char* line : {"pick 1", "drag a b", "aim 1 2 3", "add 1 nan", "orbit 2", "preview 0",
                           "preview 100001", "preview x"}) {
    EXPECT_EQ(play(std::string(line) + "\n").status, 2) << line;
  }
  EXPECT_EQ(play(kStarted + "click Command5\nprint PreviewX(1)\n").status, 2);
  EXPECT_EQ(play(kStarted + "click Command5\npreview 5\nprint PreviewMomentumX(1)\n").status, 2);
}

}  // namespace
}  // namespace velmora
