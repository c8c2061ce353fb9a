// Files that cannot be opened: each is refused with one message naming the file
// and the first thing wrong, and the game that was running goes on untouched.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <filesystem>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "form/player.h"
#include "platform/system_file.h"
#include "script/headless.h"
#include "script/world_items.h"
#include "state/game.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

fs::path scratch() {
  const fs::path dir = fs::temp_directory_path() / "velmora-bad-input-test";
  fs::create_directories(dir);
  return dir;
}

void writeFile(const fs::path& p, const std::string& text) {
  std::ofstream(p, std::ios::binary) << text;
}

std::string readFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// A good file, saved once from a running system.
const std::string& goodText() {
  static const std::string text = [] {
    MemoryTallyStorage tally;
    std::ostringstream messages;
    HeadlessGame h(tally, messages);
    playerClick(*h.game().CDp[1]);
    playerClick(*h.game().Command2);
    h.wait(3000);
    const fs::path p = scratch() / "good.velmora";
    EXPECT_TRUE(saveSystemTelling(h.game(), p.string())) << messages.str();
    return readFile(p);
  }();
  return text;
}

// The good file's generator state with its number `at` (0..623 a word, 624 the
// index) replaced by `text`.
std::string rngState(int at, const std::string& text) {
  std::istringstream in(Json::parse(goodText())["random"]["state"].get<std::string>());
  std::string out, number;
  for (int i = 0; in >> number; ++i) out += (i > 0 ? " " : "") + (i == at ? text : number);
  return out;
}

std::string bigEndian(uint32_t v) {
  return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
          static_cast<char>(v)};
}

uint32_t crc32(const std::string& bytes) {
  uint32_t c = 0xffffffffu;
  for (const unsigned char b : bytes) {
    c ^= b;
    for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xedb88320u & (0u - (c & 1u)));
  }
  return ~c;
}

// A PNG's signature and a sound header naming w x h pixels, and nothing after it:
// what a decompression bomb shows before its pixels.
std::string pngHeaderBase64(uint32_t w, uint32_t h) {
  const std::string ihdr = "IHDR" + bigEndian(w) + bigEndian(h) + std::string("\x08\x02\0\0\0", 5);
  const std::string png = "\x89PNG\r\n\x1a\n" + bigEndian(13) + ihdr + bigEndian(crc32(ihdr));
  return QByteArray::fromStdString(png).toBase64().toStdString();
}

// The good file's picture with its data cut off halfway.
std::string cutPicture(const std::string& base64) {
  QByteArray png = QByteArray::fromBase64(QByteArray::fromStdString(base64));
  png.truncate(png.size() / 2);
  return png.toBase64().toStdString();
}

std::string pngBase64(int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(Qt::black);
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return png.toBase64().toStdString();
}

// What a refused open must leave as it was.
struct Seen {
  uint64_t hash;
  uint64_t draws;
  std::vector<uint32_t> pixels;
  bool running;
  bool editorShown;
  std::string count;
  bool operator==(const Seen&) const = default;
};

Seen seen(const Game& g) {
  return {worldHash(g.world), g.rng.draws(),       g.surface.pixels(),
          g.Ti->enabled(),    g.Frame2->visible(), g.TXn->text()};
}

struct BadCase {
  const char* name;
  std::function<std::string(Json&)> contents;  // the file's text from the good one's JSON
  const char* why;                             // part of the message
};

std::string dumped(const Json& j) {
  return j.dump();
}

class BadFile : public ::testing::TestWithParam<BadCase> {};

TEST_P(BadFile, IsRefusedNamingTheFileAndTheGameGoesOn) {
  const BadCase& c = GetParam();
  Json j = Json::parse(goodText());
  const fs::path file = scratch() / (std::string(c.name) + ".velmora");
  writeFile(file, c.contents(j));

  MemoryTallyStorage tally;
  std::ostringstream messages;
  HeadlessGame h(tally, messages);
  Game& g = h.game();
  playerClick(*g.CDp[3]);
  playerClick(*g.Command2);
  h.wait(600);
  const Seen before = seen(g);

  EXPECT_FALSE(openSystemTelling(g, file.string()));
  const std::string box = messages.str();
  EXPECT_EQ(box.rfind("msgbox Open system | Cannot open \"" + file.string() + "\": ", 0), 0u)
      << box;
  EXPECT_NE(box.find(c.why), std::string::npos) << box;
  EXPECT_EQ(std::count(box.begin(), box.end(), '\n'), 1) << "one message: " << box;
  EXPECT_TRUE(seen(g) == before) << "the running game changed";
  h.wait(600);  // and it goes on running
  EXPECT_NE(worldHash(g.world), before.hash);
}

// The good file itself opens: the cases below fail for their one fault only.
TEST(BadFileBase, TheUnchangedFileOpens) {
  const fs::path file = scratch() / "unchanged.velmora";
  writeFile(file, dumped(Json::parse(goodText())));
  MemoryTallyStorage tally;
  std::ostringstream messages;
  HeadlessGame h(tally, messages);
  EXPECT_TRUE(openSystemTelling(h.game(), file.string())) << messages.str();
}

std::function<std::string(Json&)> edit(std::function<void(Json&)> change) {
  return [change](Json& j) {
    change(j);
    return dumped(j);
  };
}

std::function<std::string(Json&)> text(std::string t) {
  return [t](Json&) { return t; };
}

INSTANTIATE_TEST_SUITE_P(
    Form, BadFile,
    ::testing::Values(
        BadCase{"not_json", text("Hello, I am a planet."), "not JSON"},
        BadCase{"empty", text(""), "cut short"},
        BadCase{"cut_short", [](Json&) { return goodText().substr(0, goodText().size() / 2); },
                "cut short"},
        BadCase{"nan", text("{\"format\": \"velmora-system\", \"version\": NaN}"), "not JSON"},
        BadCase{"not_utf8", text("{\"format\": \"velmora-\xff\"}"), "not JSON"},
        BadCase{"a_list", text("[1, 2, 3]"), "a list, not a Velmora system"}),
    [](const auto& row) { return std::string(row.param.name); });

INSTANTIATE_TEST_SUITE_P(
    FormatAndFields, BadFile,
    ::testing::Values(
        BadCase{"other_format", edit([](Json& j) { j["format"] = "velmora-tally"; }),
                "not a Velmora system"},
        BadCase{"newer_version", edit([](Json& j) { j["version"] = 3; }),
                "newer Velmora (version 3"},
        // Whatever else a newer file holds: new fields, deeper ones, new numbers.
        BadCase{"newer_version_with_new_shapes",
                [](Json&) {
                  std::string file = goodText();
                  const std::string v = "\"version\": 2,";
                  return file.replace(
                      file.find(v), v.size(),
                      "\"version\": 3, \"wormholes\": {\"a\": {\"b\": [[1e999]]}},");
                },
                "newer Velmora (version 3"},
        BadCase{"newer_version_huge", edit([](Json& j) { j["version"] = 1e300; }),
                "newer Velmora (version 1e+300"},
        BadCase{"version_0", edit([](Json& j) { j["version"] = 0; }),
                "the version 0 is outside 1..2"},
        BadCase{"duplicate_setting",
                [](Json&) {
                  std::string file = goodText();
                  const std::string k = "\"BondRange\":";
                  return file.replace(file.find(k), k.size(), "\"BondRange\": 5, \"BondRange\":");
                },
                "settings has the field \"BondRange\" twice"},
        BadCase{"duplicate_section",
                [](Json&) {
                  std::string file = goodText();
                  return file.replace(file.find("\"window\""), 0, "\"editor\": {\"body\": 3}, ");
                },
                "the file has the field \"editor\" twice"},
        BadCase{"too_deep",
                [](Json&) {
                  std::string file = goodText();
                  return file.insert(file.find("\"window\""),
                                     "\"x\": " + std::string(100000, '[') + ",");
                },
                "x(0)(0) nests deeper than a system does"},
        BadCase{"too_many_fields", edit([](Json& j) {
                  for (int i = 0; i < 2000; ++i) j["panel"]["checks"]["C" + std::to_string(i)] = 0;
                }),
                "panel.checks has more than 1024 fields"},
        BadCase{"missing_field", edit([](Json& j) { j.erase("timers"); }), "no field \"timers\""},
        BadCase{"missing_setting", edit([](Json& j) { j["settings"].erase("BondRange"); }),
                "settings has no field \"BondRange\""},
        BadCase{"extra_field", edit([](Json& j) { j["colour"] = 1; }),
                "field \"colour\" that this version does not know"},
        BadCase{"extra_timer_field", edit([](Json& j) { j["timers"]["Ti"]["phase"] = 1; }),
                "\"phase\""},
        BadCase{"missing_text", edit([](Json& j) { j["panel"]["texts"].erase("TXg(2)"); }),
                "the text of TXg(2) is missing"},
        BadCase{"unknown_check", edit([](Json& j) { j["panel"]["checks"]["CHx"] = 1; }),
                "CHx is not one of this game's"}),
    [](const auto& row) { return std::string(row.param.name); });

INSTANTIATE_TEST_SUITE_P(
    TypesAndRanges, BadFile,
    ::testing::Values(
        BadCase{"count_as_text", edit([](Json& j) { j["settings"]["PlanetCount"] = "25"; }),
                "PlanetCount is a text, not a number"},
        BadCase{"table_as_object", edit([](Json& j) { j["bodies"]["MomentumY"] = Json::object(); }),
                "MomentumY is an object, not a list"},
        BadCase{"enabled_as_number", edit([](Json& j) { j["timers"]["Tiball"]["enabled"] = 1; }),
                "not true or false"},
        BadCase{"count_1000", edit([](Json& j) { j["settings"]["PlanetCount"] = 1000; }),
                "planet count 1000 is outside 0..999"},
        BadCase{"count_negative", edit([](Json& j) { j["settings"]["PlanetCount"] = -1; }),
                "planet count -1 is outside 0..999"},
        BadCase{"count_beyond_16_bits", edit([](Json& j) { j["settings"]["PlanetCount"] = 70000; }),
                "PlanetCount 70000 is outside -32768..32767"},
        BadCase{"count_fraction", edit([](Json& j) { j["settings"]["PlanetCount"] = 2.5; }),
                "not a whole number"},
        BadCase{"planet_off_3", edit([](Json& j) { j["bodies"]["PlanetOff"][4] = 3; }),
                "PlanetOff(4) 3 is outside 0..2"},
        BadCase{"infinite",
                [](Json& j) {
                  j["bodies"]["PlanetX"][2] = 12345.5;
                  std::string text = dumped(j);
                  const auto at = text.find("12345.5");
                  return text.replace(at, 7, "1e999");
                },
                "PlanetX(2) is not a finite number"},
        BadCase{"infinite_setting",
                [](Json&) {
                  std::string file = goodText();
                  const std::string k = "\"GravityExponent\": 2";
                  return file.replace(file.find(k), k.size(), "\"GravityExponent\": -1e999");
                },
                "GravityExponent is not a finite number"},
        BadCase{"infinite_window",
                [](Json&) {
                  std::string file = goodText();
                  const std::string k = "\"width\": ";
                  return file.insert(file.find(k) + k.size(), "1e999");
                },
                "window.width is not a finite number"},
        BadCase{"colour_not_single", edit([](Json& j) { j["bodies"]["PlanetRed"][1] = 0.1; }),
                "PlanetRed(1) is not a single-precision number"},
        BadCase{"tables_of_two_lengths",
                edit([](Json& j) { j["bodies"]["PlanetGravity"].push_back(1); }), "entries"},
        BadCase{"tables_too_long", edit([](Json& j) {
                  for (auto& [name, table] : j["bodies"].items()) {
                    while (table.size() < 1001) table.push_back(0);
                  }
                }),
                "has more than 1000 entries"},
        BadCase{"million_characters",
                edit([](Json& j) { j["panel"]["texts"]["TXn"] = std::string(1000000, '7'); }),
                "the text of TXn is longer than 32767 characters"},
        BadCase{"divisor_0", edit([](Json& j) { j["settings"]["BorderMomentumDivisor"] = 0; }),
                "BorderMomentumDivisor 0 is outside 1..2"},
        BadCase{"due_beyond_period", edit([](Json& j) { j["timers"]["Ti"]["dueInMs"] = 99999; }),
                "the next tick of Ti in 99999 ms is outside 0..15"},
        BadCase{"due_negative", edit([](Json& j) { j["timers"]["Ti"]["dueInMs"] = -1; }),
                "the next tick of Ti in -1 ms is outside 0..15"},
        BadCase{"due_while_stopped", edit([](Json& j) {
                  j["timers"]["Tiball"]["enabled"] = false;
                  j["timers"]["Tiball"]["dueInMs"] = 5;
                }),
                "the timer Tiball is stopped, yet its next tick is in 5 ms"},
        BadCase{"tick_period_0", edit([](Json& j) {
                  j["timers"]["Ti"]["interval"] = 0;
                  j["timers"]["Ti"]["dueInMs"] = 0;
                }),
                "the period of Ti 0 is outside 1..65535"},
        BadCase{"clock_period_0", edit([](Json& j) {
                  j["timers"]["TiK"]["interval"] = 0;
                  j["timers"]["TiK"]["dueInMs"] = 0;
                }),
                "the period of TiK 0 is outside 1..65535"},
        BadCase{"speed_level_4", edit([](Json& j) { j["speed"]["level"] = 4; }),
                "the speed level 4 is outside -3..3"},
        BadCase{"speed_beyond_its_cycle", edit([](Json& j) {
                  j["speed"]["level"] = -1;  // x1/2: one idle period, then a tick
                  j["speed"]["idlePeriods"] = 2;
                }),
                "the speed's idle periods 2 are outside 0..1 at this speed"},
        BadCase{"body_1000", edit([](Json& j) { j["editor"]["body"] = 1000; }),
                "editor's body 1000"},
        BadCase{"window_huge", edit([](Json& j) { j["window"]["width"] = 2000000; }),
                "window width 2000000 is outside"},
        BadCase{"rng_state_bad", edit([](Json& j) { j["random"]["state"] = "1 2 3"; }),
                "the random generator's state has 3 numbers, not 625"},
        BadCase{"rng_word_minus_1", edit([](Json& j) { j["random"]["state"] = rngState(3, "-1"); }),
                "the random generator's state word 3 is not a whole number 0..4294967295"},
        BadCase{"rng_word_2_to_32",
                edit([](Json& j) { j["random"]["state"] = rngState(0, "4294967296"); }),
                "the random generator's state word 0 is not a whole number 0..4294967295"},
        BadCase{"rng_index_700", edit([](Json& j) { j["random"]["state"] = rngState(624, "700"); }),
                "the random generator's state index is not a whole number 0..624"},
        BadCase{"rng_all_zero", edit([](Json& j) {
                  std::string zeros;
                  for (int i = 0; i < 624; ++i) zeros += "0 ";
                  j["random"]["state"] = zeros + "624";
                }),
                "the random generator's state is all zero"}),
    [](const auto& row) { return std::string(row.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Picture, BadFile,
    ::testing::Values(
        BadCase{"picture_wrong_size", edit([](Json& j) { j["picture"] = pngBase64(10, 10); }),
                "the picture is 10 x 10 pixels, not the field's 1133 x 868"},
        BadCase{"picture_not_png", edit([](Json& j) {
                  j["picture"] = QByteArray("GIF89a...").toBase64().toStdString();
                }),
                "the picture is not a PNG"},
        BadCase{"picture_too_large",
                edit([](Json& j) { j["picture"] = pngHeaderBase64(100000, 100000); }),
                "the picture is 100000 x 100000 pixels, too large for any window "
                "(6607 x 6647 at most)"},
        BadCase{"picture_damaged",
                edit([](Json& j) { j["picture"] = cutPicture(j["picture"].get<std::string>()); }),
                "the picture is a damaged PNG"},
        BadCase{"picture_not_base64", edit([](Json& j) { j["picture"] = "*** not base64 ***"; }),
                "not base64"},
        BadCase{"picture_as_number", edit([](Json& j) { j["picture"] = 7; }),
                "picture is a number, not a text"}),
    [](const auto& row) { return std::string(row.param.name); });

// Files that are no system at all, refused before anything is read.
struct PathCase {
  const char* name;
  std::function<fs::path()> make;
  const char* why;
};

class BadPath : public ::testing::TestWithParam<PathCase> {};

TEST_P(BadPath, IsRefusedAndTheGameIsUntouched) {
  const PathCase& c = GetParam();
  const fs::path p = c.make();
  MemoryTallyStorage tally;
  std::ostringstream messages;
  HeadlessGame h(tally, messages);
  playerClick(*h.game().Command2);
  h.wait(450);
  const Seen before = seen(h.game());
  EXPECT_FALSE(openSystemTelling(h.game(), p.string()));
  EXPECT_EQ(messages.str(),
            "msgbox Open system | Cannot open \"" + p.string() + "\": " + c.why + ".\n");
  EXPECT_TRUE(seen(h.game()) == before);
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadPath,
    ::testing::Values(
        PathCase{"missing", [] { return scratch() / "no-such.velmora"; }, "there is no such file"},
        PathCase{"folder",
                 [] {
                   fs::create_directories(scratch() / "folder.velmora");
                   return scratch() / "folder.velmora";
                 },
                 "it is a folder, not a file"},
        PathCase{"two_gigabytes",
                 [] {
                   const fs::path p = scratch() / "huge.velmora";
                   { std::ofstream(p, std::ios::binary) << "{"; }
                   fs::resize_file(p, 2LL * 1024 * 1024 * 1024);  // sparse: no disk taken
                   return p;
                 },
                 "it is 2147483648 bytes, more than a system takes (33554432 at most)"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(SaveSystem, BeforeGoThereIsNothingToSave) {
  MemoryTallyStorage tally;
  std::ostringstream messages;
  HeadlessGame h(tally, messages);
  const fs::path p = scratch() / "before-go.velmora";
  fs::remove(p);
  EXPECT_FALSE(saveSystemTelling(h.game(), p.string()));
  EXPECT_EQ(messages.str(), "msgbox Save system | Cannot save \"" + p.string() +
                                "\": there is no system yet; press Go first.\n");
  EXPECT_FALSE(fs::exists(p));
}

TEST(SaveSystem, IntoAMissingFolderSaysSo) {
  MemoryTallyStorage tally;
  std::ostringstream messages;
  HeadlessGame h(tally, messages);
  playerClick(*h.game().Command2);
  const fs::path p = scratch() / "no-folder" / "x.velmora";
  EXPECT_FALSE(saveSystemTelling(h.game(), p.string()));
  EXPECT_EQ(messages.str().rfind("msgbox Save system | Cannot save \"" + p.string() + "\": ", 0),
            0u)
      << messages.str();
}

}  // namespace
}  // namespace velmora
