// Long headless runs: every preset and the panel's extreme values with a frozen
// seed, the whole game in virtual time, checked every hundred ticks for soundness
// and at the end for flat memory.
// Usage: velmora_soak [--ticks N] [--case NAME]... [--skip NAME]...
// (default: every case, 100000 ticks)
#include <malloc.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/timeline.h"
#include "form/player.h"
#include "form/scheduler.h"
#include "state/game.h"
#include "testworlds/world_sound.h"

namespace velmora::soak {
namespace {

class QuietHost final : public Host {
 public:
  bool openUrl(const std::string&) override { return true; }
  void messageBox(const std::string& title, const std::string& text) override {
    box = title + ": " + text;
  }
  void endProgram() override {}
  std::string box;
};

struct Case {
  std::string name;
  std::function<void(Game&)> panel;  // what the player sets before "Go"
};

void enter(Control& field, const std::string& text) {
  playerType(field, text);
  playerLeave(field);
}

// A mid-sized system on the default panel, then one extreme value.
std::function<void(Game&)> withField(Control* Game::*field, std::string text) {
  return [field, text](Game& g) {
    enter(*g.TXn, "144");
    enter(*(g.*field), text);
  };
}

std::vector<Case> allCases() {
  std::vector<Case> cases;
  for (int p = 0; p < 6; ++p) {
    cases.push_back({"preset" + std::to_string(p + 1), [p](Game& g) { playerClick(*g.CDp[p]); }});
  }
  // The heaviest load: 999 bodies that neither merge nor leave, a million pairs a tick.
  cases.push_back({"crowd999", [](Game& g) {
                     playerClick(*g.CDp[4]);
                     playerClick(*g.Och[2]);
                     if (g.Chbi->value() != 0) playerClick(*g.Chbi);
                   }});
  const auto gravity = [](int i, std::string text) {
    return [i, text](Game& g) {
      enter(*g.TXn, "144");
      enter(*g.TXg[i], text);
    };
  };
  cases.push_back({"exponent0.4", gravity(2, "0.4")});
  cases.push_back({"exponent2.6", gravity(2, "2.6")});
  cases.push_back({"sun1E-06", gravity(0, "1E-06")});
  cases.push_back({"sun1E+300", gravity(0, "1E+300")});
  cases.push_back({"radius32767", withField(&Game::Text1, "32767")});
  cases.push_back({"jitter16383", withField(&Game::Text4, "16383")});
  for (int b = 0; b < 7; ++b) {
    cases.push_back({"border" + std::to_string(b), [b](Game& g) {
                       enter(*g.TXn, "144");
                       playerClick(*g.Och[b]);
                     }});
  }
  return cases;
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

long residentKiB() {
  std::ifstream statm("/proc/self/statm");
  long size = 0, resident = 0;
  statm >> size >> resident;
  return resident * 4;
}

// Plays one case; returns false after printing what broke.
bool play(const Case& c, long ticks) {
  VirtualClock clock;
  QuietHost host;
  MemoryTallyStorage tally;
  Game g(clock, host, tally);
  g.load();
  c.panel(g);
  enter(*g.TXran, "4242");  // the frozen seed
  if (g.CHran->value() != 1) playerClick(*g.CHran);
  playerClick(*g.Command2);
  if (!g.Ti->enabled() || g.Ti->interval() <= 0) {
    std::printf("soak %s: the system did not start (%s)\n", c.name.c_str(), host.box.c_str());
    return false;
  }

  const auto started = std::chrono::steady_clock::now();
  long rssAtStart = 0;
  size_t timelineAtStart = 0;
  for (long t = 1; t <= ticks; ++t) {
    // One period of the simulation timer: exactly one tick, and the timers between.
    advanceTimers(g.fs7, clock, g.Ti->interval());
    if (t % 100 == 0 || t == ticks) {
      const std::string problem = unsoundness(g);
      if (!problem.empty()) {
        std::printf("soak %s: tick %ld: %s\n", c.name.c_str(), t, problem.c_str());
        return false;
      }
    }
    if (t == std::min(ticks, 100L)) {
      rssAtStart = residentKiB();
      timelineAtStart = g.timeline->bytes();
    }
  }
  const long rssAtEnd = residentKiB();
  // The timeline keeps moments by design, within its budget; it says what it holds.
  const long timelineGrewKiB =
      (static_cast<long>(g.timeline->bytes()) - static_cast<long>(timelineAtStart)) / 1024;
  const long grew = rssAtEnd - rssAtStart - timelineGrewKiB;
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  int live = 0;
  for (int i = 1; i <= g.world.PlanetCount; ++i) live += g.world.PlanetOff[i] == 0;
  std::printf(
      "soak %-12s %ld ticks, %d of %d bodies live, rss %ld -> %ld KiB, timeline %+ld KiB, %.1f s\n",
      c.name.c_str(), ticks, live, int{g.world.PlanetCount}, rssAtStart, rssAtEnd, timelineGrewKiB,
      seconds);
  // Everything else lives in fixed tables: any growth past the allocator's slack is a
  // leak. AddressSanitizer holds freed blocks back in quarantine, so its RSS grows anyway.
  if (!kSanitized && grew > 1024) {
    std::printf("soak %s: memory grew by %ld KiB beyond the timeline's\n", c.name.c_str(), grew);
    return false;
  }
  return true;
}

}  // namespace
}  // namespace velmora::soak

int main(int argc, char** argv) {
  using namespace velmora::soak;
  // The timeline's keyframes pass the field's picture (megabytes) through short-lived
  // buffers. Once glibc frees such a mapped block it raises its mapping threshold above
  // it, and later ones come from the heap, which keeps their pages (a few megabytes,
  // bounded, but past the slack below). A fixed threshold keeps them mapped and given
  // back, so what stays resident is what is held.
  mallopt(M_MMAP_THRESHOLD, 128 * 1024);
  long ticks = 100000;
  std::vector<std::string> wanted, skipped;
  for (int a = 1; a < argc; ++a) {
    if (std::strcmp(argv[a], "--ticks") == 0 && a + 1 < argc) {
      ticks = std::atol(argv[++a]);
    } else if (std::strcmp(argv[a], "--case") == 0 && a + 1 < argc) {
      wanted.emplace_back(argv[++a]);
    } else if (std::strcmp(argv[a], "--skip") == 0 && a + 1 < argc) {
      skipped.emplace_back(argv[++a]);
    } else {
      std::fprintf(stderr, "usage: %s [--ticks N] [--case NAME]... [--skip NAME]...\n", argv[0]);
      return 2;
    }
  }
  int failed = 0, passed = 0;
  for (const Case& c : allCases()) {
    const auto named = [&c](const std::vector<std::string>& names) {
      return std::find(names.begin(), names.end(), c.name) != names.end();
    };
    if ((!wanted.empty() && !named(wanted)) || named(skipped)) continue;
    std::fflush(stdout);
    (play(c, ticks) ? passed : failed)++;
  }
  std::printf("soak: %d passed, %d failed\n", passed, failed);
  return failed == 0 && passed > 0 ? 0 : 1;
}
