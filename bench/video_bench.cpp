// Frames a second of a video export of the fullest preset: "5" (999 bodies) with a
// frozen seed, FRAMES frames of one tick each, written to MP4, WebM and APNG in a
// temporary folder. The same run written as one PNG at its last tick gives the
// simulation's own share; the rest is drawing the frames and encoding them.
// Run: ./build/bench/velmora_video_bench [FRAMES]   (default 600)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "script/render.h"

namespace velmora {
namespace {

double seconds(const RenderRequest& r) {
  MemoryTallyStorage tally;
  std::ostringstream out;
  std::ostringstream err;
  const auto start = std::chrono::steady_clock::now();
  if (render(r, tally, out, err) != 0) {
    std::fprintf(stderr, "%s", err.str().c_str());
    std::exit(1);
  }
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

int run(long long frames) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / "velmora-video-bench";
  fs::create_directories(dir);
  RenderRequest r;
  r.preset = 5;
  r.seed = 7;
  r.ticks = frames - 1;
  r.every = 1;
  r.path = (dir / "last.png").string();
  const double simulation = seconds(r);
  std::printf("preset 5, %lld frames of one tick, field 1133 x 868\n", frames);
  std::printf("the run alone (one PNG at the end): %.2f s\n", simulation);
  for (const char* name : {"run.mp4", "run.webm", "run.apng"}) {
    r.path = (dir / name).string();
    const double s = seconds(r);
    std::printf("%-9s %7.1f frames/s  (%.2f s, %.1f MB)\n", name, static_cast<double>(frames) / s,
                s, static_cast<double>(fs::file_size(r.path)) / 1e6);
  }
  fs::remove_all(dir);
  return 0;
}

}  // namespace
}  // namespace velmora

int main(int argc, char** argv) {
  return velmora::run(argc > 1 ? std::atoll(argv[1]) : 600);
}
