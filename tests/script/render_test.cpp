#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "form/player.h"
#include "platform/field_frame.h"
#include "script/headless.h"
#include "script/render.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

std::string readAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

struct Rendered {
  int status;
  std::string png;
  std::string err;
  MemoryTallyStorage tally;
};

Rendered render(RenderRequest r, const std::string& name) {
  const fs::path dir = fs::temp_directory_path() / "velmora-render-test";
  fs::create_directories(dir);
  r.path = (dir / name).string();
  fs::remove(r.path);
  Rendered out;
  std::ostringstream messages, err;
  out.status = renderPicture(r, out.tally, messages, err);
  out.png = readAll(r.path);
  out.err = err.str();
  return out;
}

TEST(Render, SameSeedAndPresetGiveTheSameBytesAndTheSeedMatters) {
  RenderRequest r;
  r.preset = 3;
  r.seed = 7;
  r.ticks = 200;
  const Rendered a = render(r, "a.png");
  const Rendered b = render(r, "b.png");
  ASSERT_EQ(a.status, 0) << a.err;
  ASSERT_EQ(b.status, 0) << b.err;
  EXPECT_EQ(a.png.substr(1, 3), "PNG");
  EXPECT_TRUE(a.png == b.png);

  r.seed = 8;
  const Rendered other = render(r, "c.png");
  ASSERT_EQ(other.status, 0) << other.err;
  EXPECT_TRUE(other.png != a.png);

  // The presets check spin themselves; without one, --spin changes the system.
  r.preset = 0;
  const Rendered still = render(r, "d.png");
  r.spin = true;
  const Rendered spun = render(r, "e.png");
  ASSERT_EQ(still.status, 0) << still.err;
  ASSERT_EQ(spun.status, 0) << spun.err;
  EXPECT_TRUE(spun.png != still.png);
}

TEST(Render, BadRequestsWriteNothing) {
  RenderRequest r;
  r.ticks = 1;
  r.preset = 7;
  const Rendered preset = render(r, "preset.png");
  EXPECT_EQ(preset.status, 2);
  EXPECT_TRUE(preset.png.empty());
  EXPECT_NE(preset.err.find("--preset"), std::string::npos);

  r.preset = 0;
  RenderRequest unwritable = r;
  unwritable.path = "/nonexistent-dir/x.png";
  MemoryTallyStorage tally;
  std::ostringstream messages, err;
  EXPECT_EQ(renderPicture(unwritable, tally, messages, err), 2);
  EXPECT_NE(err.str().find("cannot write"), std::string::npos);
}

// The field as the player sees it: the surface, with the sun's picture over it in
// the sun's box while the game shows it.
TEST(Render, TheFrameIsTheSurfaceWithTheSunWhereItIsShown) {
  MemoryTallyStorage tally;
  std::ostringstream out;
  HeadlessGame headless(tally, out);
  Game& g = headless.game();
  playerClick(*g.CDp[2]);
  playerClick(*g.Command2);
  headless.wait(50 * g.Ti->interval());
  ASSERT_TRUE(g.ImSun->visible());
  const int left = (g.ImSun->left() - kFieldLeft) / kTwipsPerPixel;
  const int top = g.ImSun->top() / kTwipsPerPixel;
  const int size = g.ImSun->width() / kTwipsPerPixel;
  const QImage frame = fieldFrame(g);
  ASSERT_EQ(frame.width(), g.surface.width());
  ASSERT_EQ(frame.height(), g.surface.height());
  int changedInside = 0;
  int changedOutside = 0;
  for (int y = 0; y < frame.height(); ++y) {
    for (int x = 0; x < frame.width(); ++x) {
      const bool inside = x >= left && x <= left + size && y >= top && y <= top + size;
      const bool changed = frame.pixel(x, y) != g.surface.pixel(x, y);
      (inside ? changedInside : changedOutside) += changed;
    }
  }
  EXPECT_EQ(changedOutside, 0);
  EXPECT_GT(changedInside, size * size / 2) << "the sun's picture fills its box's disc";
  const QRgb centre = frame.pixel(left + size / 2, top + size / 2);
  EXPECT_GT(qRed(centre), 240);
  EXPECT_GT(qGreen(centre), 200);

  playerClick(*g.CHsol);  // the sun no longer fixed: its picture goes
  ASSERT_FALSE(g.ImSun->visible());
  const QImage bare = fieldFrame(g);
  EXPECT_TRUE(std::equal(g.surface.pixels().begin(), g.surface.pixels().end(),
                         reinterpret_cast<const uint32_t*>(bare.constBits())));
}

}  // namespace
}  // namespace velmora
