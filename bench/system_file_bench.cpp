// Saving and opening a 999-body system with its picture: the time of each (best and
// median of the rounds) and the file's size. The window is a full-HD screen's, so the
// picture is as large as a player's usually is.
// Run: ./build/bench/velmora_system_file_bench [ROUNDS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "form/player.h"
#include "platform/system_file.h"
#include "script/headless.h"
#include "state/game.h"

namespace velmora {
namespace {

double nowMs() {
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

struct Times {
  double best;
  double median;
};

Times summary(std::vector<double> ms) {
  std::sort(ms.begin(), ms.end());
  return {ms.front(), ms[ms.size() / 2]};
}

int run(int rounds) {
  MemoryTallyStorage tally;
  std::ostringstream messages;
  HeadlessGame headless(tally, messages);
  Game& g = headless.game();
  g.resize(1920 * kTwipsPerPixel, 1080 * kTwipsPerPixel);
  playerType(*g.TXw[0], "999");
  playerLeave(*g.TXw[0]);
  playerClick(*g.Command2);
  // Trails over the whole field make a picture that compresses as a played one does.
  headless.wait(300LL * g.Ti->interval());
  playerClick(*g.Command5);
  if (g.world.PlanetCount != 999) {
    std::fprintf(stderr, "the system has %d bodies, not 999\n", g.world.PlanetCount);
    return 1;
  }

  const auto file = std::filesystem::temp_directory_path() / "velmora_system_file_bench.velmora";
  std::vector<double> saves, opens;
  for (int i = 0; i < rounds; ++i) {
    double t0 = nowMs();
    if (auto why = saveSystemFile(g, file.string())) {
      std::fprintf(stderr, "%s\n", why->c_str());
      return 1;
    }
    saves.push_back(nowMs() - t0);
    t0 = nowMs();
    if (auto why = openSystemFile(g, file.string())) {
      std::fprintf(stderr, "%s\n", why->c_str());
      return 1;
    }
    opens.push_back(nowMs() - t0);
  }
  const auto bytes = std::filesystem::file_size(file);
  std::filesystem::remove(file);

  const Times save = summary(saves), open = summary(opens);
  std::printf("999 bodies, picture %d x %d pixels, %d rounds\n", g.surface.width(),
              g.surface.height(), rounds);
  std::printf("save: best %.1f ms, median %.1f ms (goal < 50)\n", save.best, save.median);
  std::printf("open: best %.1f ms, median %.1f ms (goal < 50)\n", open.best, open.median);
  std::printf("file: %ju bytes (goal < 1 MB)\n", static_cast<uintmax_t>(bytes));
  return 0;
}

}  // namespace
}  // namespace velmora

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
  return velmora::run(rounds);
}
