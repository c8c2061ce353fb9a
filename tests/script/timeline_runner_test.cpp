// The runner's moves along the timeline: seek, back, undo, redo, and its items.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "script/runner.h"

namespace velmora {
namespace {

struct Result {
  int status;
  std::string out;
  std::string err;
};

Result play(const std::string& script) {
  MemoryTallyStorage tally;
  std::ostringstream out;
  std::ostringstream err;
  const int status = runScript(script, tally, out, err);
  return {status, out.str(), err.str()};
}

const std::string kGo = "click CHran\nenter TXran 17\nenter TXw(0) 40\nclick Command2\n";

TEST(TimelineRunner, SeekThenHashIsTheHashOfARunPausedThere) {
  const Result paused = play(kGo + "wait 450\nclick Command5\nprint Tick\nhash\n");
  const Result sought = play(kGo +
                             "wait 1500\nclick Command5\nprint Tick TimelineFirst TimelineLast\n"
                             "seek 30\nprint Tick\nhash\n");
  ASSERT_EQ(paused.out.substr(0, 8), "Tick=30\n");
  EXPECT_EQ(sought.out.substr(0, 44), "Tick=100\nTimelineFirst=0\nTimelineLast=100\nTi");
  EXPECT_EQ(sought.out.substr(sought.out.find("Tick=30")), paused.out);
  EXPECT_EQ(sought.err, "");
}

TEST(TimelineRunner, BackGoesOneTickBackAndPrintsTheMemory) {
  const Result back = play(kGo +
                           "wait 600\nclick Command5\nback\nback\nprint Tick TimelineLast\nhash\n"
                           "print TimelineBytes\n");
  const Result paused = play(kGo + "wait 570\nclick Command5\nhash\n");
  EXPECT_EQ(back.out.substr(0, 27), "Tick=38\nTimelineLast=40\nhas");
  EXPECT_NE(back.out.find(paused.out), std::string::npos);
  const auto bytes = back.out.substr(back.out.find("TimelineBytes=") + 14);
  EXPECT_GT(std::stoll(bytes), 1000);
}

TEST(TimelineRunner, UndoAndRedoTheEditorsEdits) {
  const Result r = play(kGo +
                        "wait 300\nclick Command5\nscroll Qui 4\nhash\nenter TXTp(0) 3000\n"
                        "click Chon\nundo\nundo\nhash\nredo\nprint PlanetX(4) PlanetOff(4)\n");
  const auto first = r.out.find("hash=");
  const auto second = r.out.find("hash=", first + 1);
  EXPECT_EQ(r.out.substr(first, 22), r.out.substr(second, 22));
  EXPECT_NE(r.out.find("PlanetX(4)=3000\nPlanetOff(4)=0\n"), std::string::npos);
  EXPECT_EQ(r.err, "");
}

// Hashes in the order printed.
std::vector<std::string> hashes(const std::string& out) {
  std::vector<std::string> found;
  for (auto at = out.find("hash="); at != std::string::npos; at = out.find("hash=", at + 1)) {
    found.push_back(out.substr(at, 21));
  }
  return found;
}

TEST(TimelineRunner, EachToolOnTheFieldIsOneEditToUndo) {
  const Result r = play(kGo +
                        "wait 300\nclick Command5\nprint PlanetCount\nscroll Qui 4\nhash\n"
                        "drag 3000 3000\nhash\nundo\nhash\nredo\nhash\n"
                        "add 5000 5000\nprint PlanetCount\nhash\nundo\nprint PlanetCount\nhash\n"
                        "redo\nhash\n");
  ASSERT_EQ(r.err, "");
  const auto h = hashes(r.out);
  ASSERT_EQ(h.size(), 7u);
  EXPECT_NE(h[0], h[1]) << "the drag moved body 4";
  EXPECT_EQ(h[2], h[0]) << "one undo takes back both coordinates";
  EXPECT_EQ(h[3], h[1]);
  EXPECT_NE(r.out.find("PlanetCount=41\n"), std::string::npos) << r.out;
  EXPECT_EQ(h[5], h[3]) << "the added body goes, the count and the generator with it";
  EXPECT_EQ(h[6], h[4]);
  const auto counts = r.out.find("PlanetCount=40\nhash");
  EXPECT_NE(r.out.find("PlanetCount=40\nhash", counts + 1), std::string::npos) << r.out;
}

TEST(TimelineRunner, ASeekKeepsThePlayersSpeed) {
  // Ten ticks at x1, forty more at x4; back to tick 5 and on at x4 for 150 ms.
  const Result r = play(kGo +
                        "wait 150\nspeed 4\nwait 150\nclick Command5\nprint Tick\nseek 5\n"
                        "click Command5\nwait 150\nclick Command5\nprint Tick\n");
  EXPECT_EQ(r.out, "Tick=50\nTick=45\n");
  EXPECT_EQ(r.err, "");
}

TEST(TimelineRunner, ANewSystemStartsWithoutMomentsAndGoStartsThemAgain) {
  const Result r = play(kGo +
                        "wait 300\nclick Command5\nnew\nprint Tick TimelineLast\nseek 0\n"
                        "click Command2\nwait 150\nclick Command5\nprint Tick TimelineLast\n"
                        "seek 0\nprint Tick\n");
  EXPECT_EQ(r.out, "Tick=0\nTimelineLast=0\nTick=10\nTimelineLast=10\nTick=0\n");
  EXPECT_EQ(r.err, "9: seek is not available: there is no system yet\n");
}

TEST(TimelineRunner, BadInputIsNotedAndChangesNothing) {
  const Result r =
      play("seek 0\n" + kGo +
           "wait 150\nback\nclick Command5\nseek 11\nseek -1\nseek ten\nundo\nredo\nseek 0\nback\n"
           "print Tick\nhash\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err,
            "1: seek is not available: there is no system yet\n"
            "7: back is not available: the game is not paused\n"
            "9: seek is not available: tick 11 is outside the timeline 0..10\n"
            "10: seek is not available: tick -1 is outside the timeline 0..10\n"
            "11: seek is not available: \"ten\" is not a tick\n"
            "12: undo is not available: nothing to undo\n"
            "13: redo is not available: nothing to redo\n"
            "15: back is not available: the timeline is at its start\n");
  const Result start = play(kGo + "click Command5\nhash\n");
  EXPECT_EQ(r.out.substr(r.out.find("hash=")), start.out);
  EXPECT_EQ(play(kGo + "back 2\n").status, 2) << "back takes nothing";
}

}  // namespace
}  // namespace velmora
