// The saved-system format over its field list: every declared field reads back bit
// for bit, and the files of version 1 saved by the game of that version open and go
// on exactly as they did.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "form/surface.h"
#include "platform/system_format.h"
#include "script/runner.h"
#include "state/tally_storage.h"
#include "world/world_fields.h"

namespace velmora {
namespace {

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Values each field takes in turn: the ends of its type, a negative zero, the
// smallest denormal, values with all their digits.
const std::vector<double> kDoubles = {
    -0.0, 4.9406564584124654e-324, -DBL_MAX,  DBL_MAX, DBL_MIN, -4.9406564584124654e-324,
    0.1,  -7413.6182312813735,     1.0 / 3.0, 1e-300};
const std::vector<double> kSingles = {-0.0,    FLT_TRUE_MIN, -FLT_MAX, FLT_MAX,
                                      FLT_MIN, 0.1f,         255,      -1};
const std::vector<double> kWhole16 = {INT16_MIN, INT16_MAX, -1, 0, 1, 2};
const std::vector<long long> kWhole32 = {INT32_MIN, INT32_MAX, -1, 0, 7};

double pick(const std::vector<double>& values, size_t n) {
  return values[n % values.size()];
}

// A snapshot whose every field holds a distinctive value; `round` turns which one,
// and each field starts elsewhere in its list so that two fields swapped show.
SystemSnapshot distinctive(size_t round) {
  SystemSnapshot s;
  size_t k = round;
  for (const TableField& t : worldTables()) {
    const auto& values = isWhole(t) ? kWhole16 : isSingle(t) ? kSingles : kDoubles;
    for (int i = 0; i < kMaxBodies; ++i) setEntry(s.world, t, i, pick(values, k + i));
    ++k;
  }
  for (const ScalarField& f : worldScalars()) {
    if (!saved(f)) continue;
    setNumber(s.world, f, pick(isWhole(f) ? kWhole16 : kDoubles, k++));
  }
  for (const SnapshotWhole& f : snapshotWholes()) {
    s.*f.member = static_cast<int>(kWhole32[k++ % kWhole32.size()]);
  }
  s.rngState = round % 2 ? "\"quoted\" \\ back\nslash \xc3\xa9" : "";
  s.rngDraws = round % 2 ? (1ULL << 53) : 0;
  s.texts = {{"TXn", "1e999"}, {"TXg(2)", ""}, {"T\xc3\xa9", std::string(300, '\t')}};
  s.checks = {{"CHran", static_cast<int>(kWhole32[k++ % kWhole32.size()])}, {"Chbi", 2}};
  s.accepted = {{"Text1", "-0"}};
  s.timers["Ti"] = {INT32_MAX, true, INT32_MIN};
  s.timers["Tr"] = {INT32_MIN, false, INT32_MAX};
  s.pictureWidth = 3;
  s.pictureHeight = 2;
  s.pixels = {0xff000000u, 0xffffffffu, 0xff123456u, 0xff00ff00u, 0xffff0000u, 0xff0000ffu};
  return s;
}

void expectSameBits(const SystemSnapshot& want, const SystemSnapshot& got, size_t round) {
  SCOPED_TRACE("round " + std::to_string(round));
  for (const TableField& t : worldTables()) {
    const auto a = bytesOf(want.world, t), b = bytesOf(got.world, t);
    EXPECT_TRUE(std::equal(a.begin(), a.end(), b.begin(), b.end())) << t.name;
  }
  for (const ScalarField& f : worldScalars()) {
    const auto a = bytesOf(want.world, f), b = bytesOf(got.world, f);
    if (saved(f)) {
      EXPECT_TRUE(std::equal(a.begin(), a.end(), b.begin(), b.end())) << f.name;
    } else {
      EXPECT_EQ(numberOf(got.world, f), 0) << f.name << " is no part of a file";
    }
  }
  for (const SnapshotWhole& f : snapshotWholes()) {
    EXPECT_EQ(want.*f.member, got.*f.member) << f.section << "." << f.key;
  }
  EXPECT_EQ(want.rngState, got.rngState);
  EXPECT_EQ(want.rngDraws, got.rngDraws);
  EXPECT_EQ(want.texts, got.texts);
  EXPECT_EQ(want.checks, got.checks);
  EXPECT_EQ(want.accepted, got.accepted);
  EXPECT_EQ(want.timers, got.timers);
}

TEST(SystemFormat, EveryDeclaredFieldReadsBackBitForBit) {
  for (size_t round = 0; round < 12; ++round) {
    SystemSnapshot s = distinctive(round);
    // A live counter is no part of a file: it reads back as 0.
    s.world.ElapsedSeconds = 77;
    s.world.TopScore = 5;
    const std::string text = encodeSystem(s);
    ASSERT_FALSE(text.empty());
    auto back = decodeSystem(text);
    ASSERT_TRUE(std::holds_alternative<SystemSnapshot>(back)) << std::get<std::string>(back);
    SystemSnapshot& got = std::get<SystemSnapshot>(back);
    expectSameBits(s, got, round);
    // And the same text again: nothing is lost on the second way round either. (The
    // picture is decoded only for its window's field: see the next test.)
    got.pixels = s.pixels;
    EXPECT_TRUE(encodeSystem(got) == text) << "round " << round;
  }
}

TEST(SystemFormat, ThePictureOfTheSavedWindowReadsBackBitForBit) {
  SystemSnapshot s = distinctive(0);
  s.windowWidth = kFieldLeft + 3 * 15;  // a field of 3 x 2 pixels
  s.windowHeight = kFieldBottomGap + 2 * 15;
  auto back = decodeSystem(encodeSystem(s));
  ASSERT_TRUE(std::holds_alternative<SystemSnapshot>(back)) << std::get<std::string>(back);
  const SystemSnapshot& got = std::get<SystemSnapshot>(back);
  EXPECT_EQ(got.pictureWidth, 3);
  EXPECT_EQ(got.pictureHeight, 2);
  EXPECT_EQ(got.pixels, s.pixels);
}

// Version 2 writes each field of version 1 as version 1 did, in its place, and adds
// the speed.
TEST(SystemFormat, AVersionOneFileIsWrittenAgainAsItWasWithTheSpeedAdded) {
  const std::string v1 = readFile(VELMORA_TEST_DATA "/v1/paused_edits.velmora");
  ASSERT_NE(v1.find("\"version\": 1,"), std::string::npos);
  auto decoded = decodeSystem(v1);
  ASSERT_TRUE(std::holds_alternative<SystemSnapshot>(decoded)) << std::get<std::string>(decoded);
  const SystemSnapshot& s = std::get<SystemSnapshot>(decoded);
  EXPECT_EQ(s.speedLevel, 0);
  EXPECT_EQ(s.idlePeriods, 0);

  std::string want = v1;
  want.replace(want.find("\"version\": 1,"), 13, "\"version\": 2,");
  want.insert(want.find("  \"timers\": {"), "  \"speed\": {\"level\": 0, \"idlePeriods\": 0},\n");
  EXPECT_EQ(encodeSystem(s), want);
}

struct Continuation {
  std::string file;
  int waitMs;
  std::string hash;
};

std::vector<Continuation> versionOneCorpus() {
  std::istringstream lines(readFile(VELMORA_TEST_DATA "/v1/continuations.txt"));
  std::vector<Continuation> out;
  for (std::string line; std::getline(lines, line);) {
    if (line.empty() || line[0] == '#') continue;
    Continuation c;
    std::istringstream(line) >> c.file >> c.waitMs >> c.hash;
    out.push_back(c);
  }
  return out;
}

TEST(VersionOneFiles, OpenAndGoOnBitForBit) {
  const auto corpus = versionOneCorpus();
  ASSERT_GE(corpus.size(), 5u);
  for (const Continuation& c : corpus) {
    const std::string script = "open " VELMORA_TEST_DATA "/v1/" + c.file +
                               "\nprint Ti.Enabled\nclick Command5\nwait " +
                               std::to_string(c.waitMs) + "\nhash\n";
    MemoryTallyStorage tally;
    std::ostringstream out, err;
    EXPECT_EQ(runScript(script, tally, out, err), 0) << err.str();
    EXPECT_EQ(out.str(), "Ti.Enabled=False\nhash=" + c.hash + "\n") << c.file;
  }
}

}  // namespace
}  // namespace velmora
