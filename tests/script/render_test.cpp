#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

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

}  // namespace
}  // namespace velmora
