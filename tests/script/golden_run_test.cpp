// The games of tests/replay/game_run_test.cpp played through the script runner: its
// `hash` of the tables and the pixels of its picture are golden values too.
#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>

#include "script/runner.h"

namespace velmora {
namespace {

struct Played {
  std::string hashLine;
  uint64_t pixels = 0;
};

// Plays `actions`, then `hash` and `png`; the pixels' hash covers their colours.
Played play(const std::string& actions, const std::string& name) {
  const std::string png = (std::filesystem::temp_directory_path() / (name + ".png")).string();
  MemoryTallyStorage tally;
  std::ostringstream out;
  std::ostringstream err;
  const int status = runScript(actions + "hash\npng " + png + "\n", tally, out, err);
  EXPECT_EQ(status, 0) << err.str();
  EXPECT_EQ(err.str(), "");
  Played p;
  p.hashLine = out.str();
  const QImage image(QString::fromStdString(png));
  EXPECT_FALSE(image.isNull());
  uint64_t h = 1469598103934665603ull;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const uint32_t rgb = image.pixel(x, y) & 0xffffffu;
      for (int b = 0; b < 3; ++b) h = (h ^ ((rgb >> (8 * b)) & 0xffu)) * 1099511628211ull;
    }
  }
  p.pixels = h;
  std::filesystem::remove(png);
  return p;
}

// The seed frozen at 7, the preset, "Go".
std::string startPreset(int preset) {
  return "click CHran\nenter TXran 7\nclick CDp(" + std::to_string(preset - 1) +
         ")\nclick Command2\n";
}

TEST(ScriptGoldenRun, EachPresetFromAFrozenSeed) {
  const struct {
    int preset;
    const char* hash;
    uint64_t pixels;
  } runs[] = {{3, "395a1c00afe3f7d2", 0x63d9afb1877d0124ull},
              {4, "282fae3950b87c58", 0xa8fb1fc45b33870full},
              {5, "2d9f4f89cd194879", 0x5b2e0eb9384481d3ull},
              {6, "f888ff2f02e85079", 0xe0b2a0a9a81e3541ull}};
  for (const auto& r : runs) {
    const Played p = play(startPreset(r.preset) + "wait 30000\n",  // 2000 ticks of 15 ms
                          "golden_preset" + std::to_string(r.preset));
    EXPECT_EQ(p.hashLine, std::string("hash=") + r.hash + "\n") << r.preset;
    EXPECT_EQ(p.pixels, r.pixels) << r.preset << ": " << std::hex << p.pixels;
  }
}

TEST(ScriptGoldenRun, PauseEditResume) {
  const Played p =
      play(startPreset(3) +
               "wait 4500\nclick Command5\nscroll Qui 3\nenter TXTp(4) 0.05\nscroll Qui 5\n"
               "enter TXTp(0) 4000\nenter TXTp(2) -3\nscroll Qui 7\nclick Chon\nclick Command5\n"
               "wait 10500\n",
           "golden_pause_edit");
  EXPECT_EQ(p.hashLine, "hash=d6d84e0263e12c65\n");
  EXPECT_EQ(p.pixels, 0x4b1f4f0fd47cbca4ull) << std::hex << p.pixels;
}

}  // namespace
}  // namespace velmora
