// Whole games played through the script runner, as outside checks play them.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "script/runner.h"

namespace velmora {
namespace {

struct Played {
  int status;
  std::vector<std::string> lines;
  std::string err;
};

Played play(const std::string& script, MemoryTallyStorage& tally) {
  std::ostringstream out;
  std::ostringstream err;
  const int status = runScript(script, tally, out, err);
  Played p{status, {}, err.str()};
  std::istringstream lines(out.str());
  for (std::string line; std::getline(lines, line);) p.lines.push_back(line);
  return p;
}

Played play(const std::string& script) {
  MemoryTallyStorage tally;
  return play(script, tally);
}

TEST(Acceptance, Preset5RunsAllItsBodiesAndAFrozenSeedReplays) {
  const std::string script =
      "click CHran\nclick CDp(4)\nclick Command2\nprint PlanetCount Ti.Enabled\nwait 3000\n"
      "hash\n";
  const Played a = play(script);
  const Played b = play(script);
  ASSERT_EQ(a.status, 0) << a.err;
  ASSERT_EQ(a.lines.size(), 3u);
  EXPECT_EQ(a.lines[0], "PlanetCount=999");
  EXPECT_EQ(a.lines[1], "Ti.Enabled=True");
  EXPECT_EQ(a.lines, b.lines);
  // A different frozen seed builds another system.
  const Played c =
      play("click CHran\nenter TXran 12\nclick CDp(4)\nclick Command2\nwait 3000\nhash\n");
  EXPECT_NE(c.lines.back(), a.lines.back());
}

TEST(Acceptance, ClearWipesTheFieldAndNoTable) {
  const Played p =
      play("click CHran\nclick Command2\nwait 150\nhash\nclick Command4\nhash\nwait 15\nhash\n");
  ASSERT_EQ(p.status, 0) << p.err;
  ASSERT_EQ(p.lines.size(), 3u);
  EXPECT_EQ(p.lines[0], p.lines[1]);
  EXPECT_NE(p.lines[1], p.lines[2]);  // the system goes on after the clear
  EXPECT_EQ(p.err, "");
}

TEST(Acceptance, GoCanBePressedOncePerRun) {
  const Played p = play("click Command2\nclick Command2\nprint Command2.Visible CDp(0).Visible\n");
  EXPECT_EQ(p.err, "2: Command2 is not available\n");
  EXPECT_EQ(p.lines, (std::vector<std::string>{"Command2.Visible=False", "CDp(0).Visible=False"}));
}

TEST(Acceptance, PauseEditAndResume) {
  const Played p = play(
      "click CHran\nclick Command2\nwait 300\nclick Command5\nprint Ti.Enabled TXTOden.Text "
      "Frame2.Visible Opadd(0).Value\nscroll Qui 3\nenter TXTp(4) 0.05\nprint PlanetGravity(3) "
      "TxTyp.Text\nclick Command5\nprint Ti.Enabled Frame2.Visible Opadd(0).Value\n");
  ASSERT_EQ(p.status, 0) << p.err;
  EXPECT_EQ(p.lines, (std::vector<std::string>{
                         "Ti.Enabled=False", "TXTOden.Text=0", "Frame2.Visible=True",
                         "Opadd(0).Value=True", "PlanetGravity(3)=0.05", "TxTyp.Text=2",
                         "Ti.Enabled=True", "Frame2.Visible=False", "Opadd(0).Value=False"}));
}

TEST(Acceptance, TheEndScreenEndsTheScript) {
  const Played p = play(
      "click Command1\nprint FormEnd.Visible Fs7.Visible\nclick FormEnd.Command2\n"
      "click FormEnd.Command1(1)\nprint Ti.Enabled\n");
  ASSERT_EQ(p.status, 0) << p.err;
  ASSERT_EQ(p.lines.size(), 4u);
  EXPECT_EQ(p.lines[0], "FormEnd.Visible=True");
  EXPECT_EQ(p.lines[1], "Fs7.Visible=False");
  EXPECT_EQ(p.lines[2].rfind("open file://", 0), 0u) << p.lines[2];
  EXPECT_EQ(p.lines[3], "end");
}

TEST(Acceptance, ANewTopScoreIsSavedAndReadBack) {
  MemoryTallyStorage tally;
  // A spinning system settles into orbits; within five minutes its score passes 1.
  const Played p = play(
      "click CHran\nclick CDp(0)\nclick Command2\nwait 300000\nprint Label5.Caption TopScore\n",
      tally);
  ASSERT_EQ(p.status, 0) << p.err;
  ASSERT_TRUE(tally.contents.has_value());
  const Played again = play("print Label5.Caption\n", tally);
  EXPECT_EQ(again.lines[0], p.lines[0]);
  EXPECT_NE(p.lines[0], "Label5.Caption=1") << *tally.contents;
}

// Three seconds after "Go" the clock is set back past the start: the elapsed time
// then reads as nearly a day, but the tick that sees the change counts it as a
// disturbance, so no forged record reaches the tally file.
TEST(Acceptance, AClockSetBackForgesNoRecord) {
  MemoryTallyStorage tally;
  const Played p = play(
      "enter TXw(0) 25\nclick Command2\nwait 3000\ntime 11:59:30\nwait 1000\n"
      "print ElapsedSeconds StableSeconds TopScore\n",
      tally);
  ASSERT_EQ(p.status, 0) << p.err;
  ASSERT_EQ(p.lines.size(), 3u);
  EXPECT_EQ(p.lines[0], "ElapsedSeconds=86370");
  EXPECT_TRUE(p.lines[1] == "StableSeconds=0" || p.lines[1] == "StableSeconds=1") << p.lines[1];
  EXPECT_EQ(p.lines[2], "TopScore=1");
  EXPECT_EQ(tally.contents, "1,1,1\r\n");
}

}  // namespace
}  // namespace velmora
