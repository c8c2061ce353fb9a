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
        BadCase{"newer_version", edit([](Json& j) { j["version"] = 2; }),
                "newer Velmora (version 2"},
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
                "it holds a number that is not finite"},
        BadCase{"colour_not_single", edit([](Json& j) { j["bodies"]["PlanetRed"][1] = 0.1; }),
                "PlanetRed(1) is not a single-precision number"},
        BadCase{"tables_of_two_lengths",
                edit([](Json& j) { j["bodies"]["PlanetGravity"].push_back(1); }), "entries"},
        BadCase{"tables_too_long", edit([](Json& j) {
                  for (auto& [name, table] : j["bodies"].items()) {
                    while (table.size() < 1001) table.push_back(0);
                  }
                }),
                "1001 entries, not 1..1000"},
        BadCase{"million_characters",
                edit([](Json& j) { j["panel"]["texts"]["TXn"] = std::string(1000000, '7'); }),
                "the text of TXn is longer than 32767 characters"},
        BadCase{"divisor_0", edit([](Json& j) { j["settings"]["BorderMomentumDivisor"] = 0; }),
                "BorderMomentumDivisor 0 is outside 1..2"},
        BadCase{"due_beyond_period",
                edit([](Json& j) { j["timers"]["Tiball"]["dueInMs"] = 99999; }),
                "next tick of Tiball"},
        BadCase{"body_1000", edit([](Json& j) { j["editor"]["body"] = 1000; }),
                "editor's body 1000"},
        BadCase{"window_huge", edit([](Json& j) { j["window"]["width"] = 2000000; }),
                "window width 2000000 is outside"},
        BadCase{"rng_state_bad", edit([](Json& j) { j["random"]["state"] = "1 2 3"; }),
                "random generator's state"}),
    [](const auto& row) { return std::string(row.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Picture, BadFile,
    ::testing::Values(BadCase{"picture_wrong_size",
                              edit([](Json& j) { j["picture"] = pngBase64(10, 10); }),
                              "the picture is 10 x 10 pixels, not the field's 1133 x 868"},
                      BadCase{"picture_not_png", edit([](Json& j) {
                                j["picture"] = QByteArray("GIF89a...").toBase64().toStdString();
                              }),
                              "the picture is not a PNG"},
                      BadCase{"picture_not_base64",
                              edit([](Json& j) { j["picture"] = "*** not base64 ***"; }),
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
