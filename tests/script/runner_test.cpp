#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "played_script.h"
#include "script/runner.h"

namespace velmora {
namespace {

using Result = testing::PlayedScript;
using testing::play;

TEST(ScriptRunner, PrintsTheStartUpStates) {
  const Result r = play(
      "print Text1.Text TXw(0).Text Chbi.Value Tr.Enabled Ti.Enabled Command5.Visible "
      "Frame2.Visible\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "Text1.Text=6\nTXw(0).Text=150\nChbi.Value=1\nTr.Enabled=True\nTi.Enabled=False\n"
            "Command5.Visible=False\nFrame2.Visible=False\n");
  EXPECT_EQ(r.err, "");
}

TEST(ScriptRunner, PrintsTablesScalarsAndWindowProperties) {
  const Result r = play(
      "# a comment, then a blank line\n\nprint PlanetX(12) PlanetOff(999) BorderMomentumDivisor "
      "Och(6).Value Och(0).Value Fs7.Caption FormEnd.Caption FormEnd.Visible Ti.Interval "
      "Command2.BackColor\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "PlanetX(12)=0\nPlanetOff(999)=0\nBorderMomentumDivisor=1\nOch(6).Value=True\n"
            "Och(0).Value=False\nFs7.Caption=Quorrel 3 : Velmora\nFormEnd.Caption=Form1\n"
            "FormEnd.Visible=False\nTi.Interval=15\nCommand2.BackColor=63,144,0\n");
}

TEST(ScriptRunner, WaitRunsTimersInVirtualTime) {
  const Result r = play("wait 150\nprint SeedCounter TXran.Text\n");
  EXPECT_EQ(r.out, "SeedCounter=10\nTXran.Text=10\n");
}

TEST(ScriptRunner, UnavailableControlsAreReportedAndTheRunGoesOn) {
  const Result r = play("click Command5\ntype TXn 12\nprint Command5.Visible\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "1: Command5 is not available\n2: TXn is not available\n");
  EXPECT_EQ(r.out, "Command5.Visible=False\n");
}

TEST(ScriptRunner, UnknownWordsStopTheRunWithStatus2) {
  struct Row {
    const char* name;
    const char* script;
    const char* err;
  };
  const Row rows[] = {
      {"action", "print Ti.Enabled\nfly away\nprint Ti.Enabled\n", "2: unknown action fly\n"},
      {"control", "click Command99\n", "1: unknown control Command99\n"},
      {"property", "print Text1.Colour\n", "1: unknown property Text1.Colour\n"},
      {"item", "print NoSuchThing\n", "1: unknown item NoSuchThing\n"},
      {"table index", "print PlanetX(1000)\n", "1: unknown item PlanetX(1000)\n"},
      {"wait", "wait soon\n", "1: usage: wait MS\n"},
      {"time", "time 25:00:00\n", "1: usage: time HH:MM:SS\n"},
      {"kind", "scroll Text1 4\n", "1: cannot scroll Text1, a TextBox\n"},
  };
  for (const Row& row : rows) {
    const Result r = play(row.script);
    EXPECT_EQ(r.status, 2) << row.name;
    EXPECT_EQ(r.err, row.err) << row.name;
  }
  EXPECT_EQ(play("print Ti.Enabled\nfly away\n").out, "Ti.Enabled=False\n");
}

TEST(ScriptRunner, ClearChangesNoTableAndHashIsStable) {
  const Result a = play("hash\n");
  const Result b = play("hash\nsize 20000 15000\nhash\n");
  ASSERT_EQ(a.out.rfind("hash=", 0), 0u);
  EXPECT_EQ(a.out.size(), std::string("hash=0123456789abcdef\n").size());
  EXPECT_EQ(b.out, a.out + a.out);
}

TEST(ScriptRunner, SizeAndTimeAreSettable) {
  const Result r = play("size 20000 15000\ntime 23:59:59\nwait 1000\nprint Fs7.Width Fs7.Height\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "Fs7.Width=20000\nFs7.Height=15000\n");
}

TEST(ScriptRunner, DumpAndPngWriteTheirFiles) {
  const auto dir = std::filesystem::temp_directory_path() / "velmora_runner_test";
  std::filesystem::create_directories(dir);
  const auto json = (dir / "state.json").string();
  const auto png = (dir / "field.png").string();
  const Result r = play("dump " + json + "\npng " + png + "\n");
  ASSERT_EQ(r.status, 0) << r.err;
  std::ifstream in(json);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_NE(text.str().find("\"PlanetCount\": 0"), std::string::npos);
  EXPECT_NE(text.str().find("\"TXg(2)\": {\"Kind\": \"TextBox\", \"Text\": \"2\""),
            std::string::npos);
  EXPECT_NE(text.str().find("\"bodies\": [\n    {\"Index\": 0, \"PlanetX\": 0"), std::string::npos);
  std::ifstream image(png, std::ios::binary);
  char magic[4] = {};
  image.read(magic, 4);
  EXPECT_EQ(std::string(magic + 1, 3), "PNG");
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace velmora

namespace velmora {
namespace {

// The hash line of a run's output.
std::string hashOf(const std::string& out) {
  const auto at = out.rfind("hash=");
  return at == std::string::npos ? "" : out.substr(at);
}

TEST(ScriptRunnerTime, StepOnlyWhilePausedAndLikeOneTimerTick) {
  const std::string start = "click CHran\nclick CDp(4)\nclick Command2\nwait 300\n";
  const Result running = play(start + "step\nhash\n");
  EXPECT_EQ(running.status, 0);
  EXPECT_EQ(running.err, "5: step is not available\n");

  const Result stepped = play(start + "click Command5\nstep\nstep\nstep\nhash\n");
  const Result resumed = play(start +
                              "click Command5\n"
                              "click Command5\nwait 15\nclick Command5\n"
                              "click Command5\nwait 15\nclick Command5\n"
                              "click Command5\nwait 15\nclick Command5\nhash\n");
  EXPECT_EQ(stepped.err, "");
  EXPECT_NE(hashOf(stepped.out), hashOf(running.out));
  EXPECT_EQ(hashOf(stepped.out), hashOf(resumed.out));
  EXPECT_EQ(play("step extra\n").status, 2);
}

TEST(ScriptRunnerTime, SpeedPutsItsTicksInEachPeriod) {
  const std::string start = "click CHran\nclick CDp(4)\nclick Command2\n";
  const Result fast = play("speed 8\n" + start + "wait 150\nhash\n");
  const Result plain = play(start + "wait 1200\nhash\n");
  const Result slow = play("speed 1/8\n" + start + "wait 1200\nhash\n");
  const Result tenTicks = play(start + "wait 150\nhash\n");
  EXPECT_EQ(fast.status, 0);
  EXPECT_EQ(hashOf(fast.out), hashOf(plain.out));
  EXPECT_EQ(hashOf(slow.out), hashOf(tenTicks.out));
  EXPECT_NE(hashOf(plain.out), hashOf(tenTicks.out));
  for (const char* bad : {"speed\n", "speed 3\n", "speed 1/16\n", "speed x2\n", "speed 2 2\n"}) {
    const Result r = play(bad);
    EXPECT_EQ(r.status, 2) << bad;
    EXPECT_EQ(r.err, "1: usage: speed 1/8|1/4|1/2|1|2|4|8\n") << bad;
  }
}

}  // namespace
}  // namespace velmora
