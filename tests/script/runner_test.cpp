#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

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
