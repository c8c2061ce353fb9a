// Videos of a run, read back through FFmpeg's own tools: an APNG holds exactly the
// pictures `--render OUT.png` takes at the same ticks, H.264 and VP9 come close to
// them, and a request that cannot be written leaves nothing behind.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "app/engine_events.h"
#include "app/field_tools.h"
#include "app/system_snapshot.h"
#include "form/player.h"
#include "helpers/video_frames.h"
#include "platform/field_frame.h"
#include "platform/png_picture.h"
#include "program_run.h"
#include "script/headless.h"
#include "script/render.h"
#include "script/video_export.h"
#include "script/world_items.h"
#include "state/game.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using test::commandOutput;
using test::rgbOf;

// Every frame of a picture or video as raw bytes in FFmpeg's pixel format `pixels`,
// after `filter` (none when empty).
std::string decoded(const fs::path& file, const std::string& pixels,
                    const std::string& filter = "") {
  return commandOutput("ffmpeg -nostdin -v error -i '" + file.string() + "' " +
                       (filter.empty() ? "" : "-vf '" + filter + "' ") + "-f rawvideo -pix_fmt " +
                       pixels + " -");
}

// ffprobe's account of the first video stream, with its frames counted.
std::map<std::string, std::string> probed(const fs::path& file) {
  std::istringstream lines(
      commandOutput("ffprobe -v error -count_frames -select_streams v:0 -show_entries "
                    "stream=codec_name,width,height,pix_fmt,r_frame_rate,nb_read_frames "
                    "-of default=noprint_wrappers=1 '" +
                    file.string() + "'"));
  std::map<std::string, std::string> fields;
  for (std::string line; std::getline(lines, line);) {
    const size_t eq = line.find('=');
    if (eq != std::string::npos) fields[line.substr(0, eq)] = line.substr(eq + 1);
  }
  return fields;
}

// Peak signal to noise over all the bytes of two frames of one layout.
double psnr(std::string_view a, std::string_view b) {
  double squares = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    const double d = static_cast<unsigned char>(a[i]) - static_cast<unsigned char>(b[i]);
    squares += d * d;
  }
  if (squares == 0) return INFINITY;
  return 10 * std::log10(255.0 * 255.0 * static_cast<double>(a.size()) / squares);
}

class VideoExport : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    dir = fs::temp_directory_path() / ("velmora-video-" + name + "-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    ASSERT_NE(commandOutput("ffprobe -version").find("ffprobe"), std::string::npos)
        << "the tests read the videos back with ffmpeg and ffprobe (Debian's ffmpeg)";
  }
  void TearDown() override { fs::remove_all(dir); }

  // Renders `name` in the folder; the exit status.
  int rendered(RenderRequest r, const std::string& name) {
    r.path = (dir / name).string();
    MemoryTallyStorage tally;
    std::ostringstream out;
    std::ostringstream err;
    const int status = render(r, tally, out, err);
    EXPECT_EQ(status, 0) << err.str();
    return status;
  }

  // The picture `--render OUT.png` takes after `ticks`.
  PngPicture picture(RenderRequest r, long long ticks) {
    r.ticks = ticks;
    const std::string name = "at" + std::to_string(ticks) + ".png";
    if (rendered(r, name) != 0) return {};
    std::ifstream in(dir / name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return decodePng(bytes.str(), [](int, int) { return true; });
  }

  std::vector<std::string> files() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename());
    return names;
  }

  fs::path dir;
};

RenderRequest shortRun() {
  RenderRequest r;
  r.preset = 3;
  r.seed = 7;
  r.ticks = 62;  // not a multiple of `every`: the last frame is at 60
  r.every = 6;
  return r;
}

TEST_F(VideoExport, ApngFramesAreTheRenderedPicturesExactly) {
  // From "Go" with the sun shown, and from a saved system resumed.
  RenderRequest fromOpen;
  fromOpen.open = std::string(VELMORA_TEST_DATA) + "/v1/running.velmora";
  fromOpen.ticks = 20;
  fromOpen.every = 4;
  for (const RenderRequest& r : {shortRun(), fromOpen}) {
    SCOPED_TRACE(r.open.empty() ? "go" : "open");
    ASSERT_EQ(rendered(r, "run.apng"), 0);
    const long long frames = r.ticks / r.every + 1;
    const PngPicture first = picture(r, 0);
    ASSERT_EQ(first.outcome, PngPicture::Outcome::kDecoded);
    const size_t frameBytes = static_cast<size_t>(first.width) * first.height * 3;
    const std::string video = decoded(dir / "run.apng", "rgb24");
    ASSERT_EQ(video.size(), frameBytes * static_cast<size_t>(frames));
    for (const long long i : {0LL, frames / 2, frames - 1}) {
      const PngPicture want = i == 0 ? first : picture(r, i * r.every);
      ASSERT_EQ(want.outcome, PngPicture::Outcome::kDecoded);
      std::string rgb;
      for (const uint32_t p : want.pixels) {
        rgb += {static_cast<char>(p >> 16), static_cast<char>(p >> 8), static_cast<char>(p)};
      }
      EXPECT_TRUE(video.compare(static_cast<size_t>(i) * frameBytes, frameBytes, rgb) == 0)
          << "frame " << i;
    }
  }
}

TEST_F(VideoExport, Mp4AndWebmKeepEveryFrameCloseAndSayWhatTheyHold) {
  // A short run, and the crowd of preset 5 early on (its densest frames), far apart.
  RenderRequest crowd;
  crowd.preset = 5;
  crowd.seed = 7;
  crowd.ticks = 100;
  crowd.every = 50;
  for (RenderRequest r : {shortRun(), crowd}) {
    SCOPED_TRACE(r.preset);
    r.fps = 25;
    const long long frames = r.ticks / r.every + 1;
    // The field is 1133 pixels wide: H.264 and VP9 take a black column more.
    const PngPicture first = picture(r, 0);
    ASSERT_EQ(first.width % 2, 1);
    const std::string evenSize = "pad=" + std::to_string(first.width + 1) + ":" +
                                 std::to_string(first.height + first.height % 2);
    // The exact frames as the encoders take them: 4:2:0 is the format asked for, so
    // the quality is measured there.
    const std::string asEncoded = evenSize + ",scale=out_color_matrix=bt709:out_range=tv";
    for (const auto& [name, codec] : {std::pair{"run.mp4", "h264"}, std::pair{"run.webm", "vp9"}}) {
      SCOPED_TRACE(name);
      ASSERT_EQ(rendered(r, name), 0);
      auto probe = probed(dir / name);
      EXPECT_EQ(probe["codec_name"], codec);
      EXPECT_EQ(probe["width"], std::to_string(first.width + 1));
      EXPECT_EQ(probe["height"], std::to_string(first.height));
      EXPECT_EQ(probe["pix_fmt"], "yuv420p");
      EXPECT_EQ(probe["r_frame_rate"], "25/1");
      EXPECT_EQ(probe["nb_read_frames"], std::to_string(frames));

      const std::string video = decoded(dir / name, "yuv420p");
      const size_t frameBytes = static_cast<size_t>(first.width + 1) * first.height * 3 / 2;
      ASSERT_EQ(video.size(), frameBytes * static_cast<size_t>(frames));
      for (const long long i : {0LL, frames / 2, frames - 1}) {
        picture(r, i * r.every);
        const std::string exact =
            decoded(dir / ("at" + std::to_string(i * r.every) + ".png"), "yuv420p", asEncoded);
        ASSERT_EQ(exact.size(), frameBytes);
        const double db = psnr(
            std::string_view(video).substr(static_cast<size_t>(i) * frameBytes, frameBytes), exact);
        EXPECT_GE(db, 40.0) << "frame " << i;
        std::printf("preset %d %s frame %lld: %.2f dB\n", r.preset, name, i, db);
      }
    }
  }
}

// A run kept as keyframes, one of them after an edit made while paused, filmed in
// a game of its own: every frame is the moment as the game lived it, the edit
// included from its moment on; the game filmed is not touched, and a cancelled
// export leaves nothing.
TEST_F(VideoExport, AKeptRunTakesEachKeyframeOnTheWay) {
  MemoryTallyStorage tally;
  std::ostringstream messages;
  HeadlessGame headless(tally, messages);
  Game& g = headless.game();
  playerClick(*g.CDp[2]);
  playerClick(*g.Command2);
  std::vector<SystemSnapshot> keyframes{captureSystem(g)};      // at "Go", tick 0
  std::vector<std::string> lived{rgbOf(playingFieldFrame(g))};  // every 3 ticks
  const auto liveTicks = [&](int ticks) {
    for (int i = 0; i < ticks; ++i) Ti_Timer(g);
    lived.push_back(rgbOf(playingFieldFrame(g)));
  };
  liveTicks(3);
  liveTicks(3);
  playerClick(*g.Command5);
  ASSERT_EQ(addBodyAt(g, 9000, 6000), ToolOutcome::kDone);  // at tick 6
  keyframes.push_back(captureSystem(g));
  lived.back() = rgbOf(playingFieldFrame(g));
  for (int i = 0; i < 4; ++i) liveTicks(3);
  const auto untouched = [&g] {
    return std::tuple(worldHash(g.world), g.rng.state(), g.rng.draws(), g.surface.pixels());
  };
  const auto before = untouched();

  const KeptRun kept{{0, 6}, [&](size_t i, Game& into) {
                       // As a timeline opens a moment: its own tables, not the ones
                       // the pause's editor writes into when it shows a body.
                       auto why = openSystem(into, keyframes.at(i));
                       into.world = keyframes.at(i).world;
                       return why;
                     }};
  // From the start, and from a moment between the keyframes.
  for (const long long from : {0LL, 3LL}) {
    SCOPED_TRACE(from);
    const VideoSpan span{18 - from, 3, 20};
    const ExportResult written = filmKeptRun(kept, from, (dir / "kept.apng").string(), span, {});
    ASSERT_EQ(written.end, ExportResult::End::kWritten) << written.why;
    const std::string video = decoded(dir / "kept.apng", "rgb24");
    const size_t frameBytes = lived.front().size();
    const auto first = static_cast<size_t>(from / 3);
    ASSERT_EQ(video.size(), (lived.size() - first) * frameBytes);
    for (size_t i = first; i < lived.size(); ++i) {
      EXPECT_TRUE(video.compare((i - first) * frameBytes, frameBytes, lived[i]) == 0)
          << "moment " << 3 * i;
    }
  }
  EXPECT_TRUE(untouched() == before) << "the game filmed is untouched";

  fs::remove(dir / "kept.apng");
  long long calls = 0;
  const ExportResult cancelled = filmKeptRun(kept, 0, (dir / "gone.mp4").string(), {18, 3, 20},
                                             [&](long long done, long long total) {
                                               EXPECT_EQ(total, 7);
                                               EXPECT_EQ(done, ++calls);
                                               return done < 2;
                                             });
  EXPECT_EQ(cancelled.end, ExportResult::End::kCancelled);
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(files(), std::vector<std::string>{}) << "a cancelled export leaves nothing";
}

#ifdef VELMORA_PROGRAM
// Each refused with status 2, its reason on standard error, and no file left.
TEST_F(VideoExport, BadRequestsSayWhyAndLeaveNothing) {
  const std::string out = (dir / "run.mp4").string();
  const std::vector<std::string> run = {"--preset", "3", "--seed", "7", "--ticks", "30"};
  struct Case {
    std::vector<std::string> args;
    std::string message;
    rlim_t limitBytes = 0;
  };
  const std::vector<Case> cases = {
      {{"--render", (dir / "run.gif").string()}, "--render writes .png, .mp4, .webm or .apng"},
      {{"--render", out, "--every", "0"}, "--every takes a count of 1 or more"},
      {{"--render", out, "--fps", "0"}, "--fps takes 1 to 999"},
      {{"--render", out, "--fps", "1000"}, "--fps takes 1 to 999"},
      {{"--render", (dir / "run.png").string(), "--every", "2"}, "--every needs a video"},
      {{"--render", (dir / "missing" / "run.webm").string()}, "cannot write"},
      // A full folder, as a file-size limit makes one.
      {{"--render", out}, "cannot write " + out + ": the file is too large", 4096},
      {{"--render", (dir / "run.apng").string()}, "cannot write", 4096},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.end(), run.begin(), run.end());
    SCOPED_TRACE(args[1] + (args.size() > 8 ? " " + args[2] + " " + args[3] : ""));
    const ProgramRun ran = runProgram(args, c.limitBytes);
    EXPECT_TRUE(ran.exited) << "ended by signal " << ran.status;
    EXPECT_EQ(ran.status, 2);
    EXPECT_NE(ran.output.find("velmora: " + c.message), std::string::npos) << ran.output;
    EXPECT_EQ(files(), std::vector<std::string>{}) << "nothing left behind";
  }
}
#endif

}  // namespace
}  // namespace velmora
