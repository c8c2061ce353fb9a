// Memory and time of reading a saved system, hostile or sound: each case runs in a
// child process of its own, which makes its input, notes its peak resident set
// (getrusage), reads the input and notes the peak again. "beyond" is the memory the
// reading took beyond its input held in memory.
// Run: ./build/bench/velmora_system_decode_bench
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <sstream>
#include <string>
#include <variant>

#include "app/system_snapshot.h"
#include "form/player.h"
#include "platform/system_file.h"
#include "platform/system_format.h"
#include "script/headless.h"
#include "state/game.h"

namespace velmora {
namespace {

constexpr size_t kLimit = static_cast<size_t>(kMaxSystemFileBytes);

double peakMb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_maxrss) / 1024.0;  // kB on Linux
}

double nowMs() {
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

// The game's own 999-body system, saved with a full-HD window's picture.
std::string soundFile() {
  MemoryTallyStorage tally;
  std::ostringstream messages;
  HeadlessGame headless(tally, messages);
  Game& g = headless.game();
  g.resize(1920 * kTwipsPerPixel, 1080 * kTwipsPerPixel);
  playerType(*g.TXw[0], "999");
  playerLeave(*g.TXw[0]);
  playerClick(*g.Command2);
  headless.wait(300LL * g.Ti->interval());
  return encodeSystem(captureSystem(g));
}

std::string withinLimit(const std::string& head, const std::string& unit, const std::string& tail) {
  std::string text = head;
  text.reserve(kLimit);
  while (text.size() + unit.size() + tail.size() <= kLimit) text += unit;
  return text + tail;
}

struct Case {
  const char* name;
  std::function<std::string()> input;
  bool open = false;  // also open the decoded system in a game
};

std::string shortened(std::string s) {
  if (s.size() > 60) s = s.substr(0, 57) + "...";
  return s;
}

// In the child: make the input, read it, print one line.
[[noreturn]] void measure(const Case& c) {
  const std::string text = c.input();
  MemoryTallyStorage tally;
  std::ostringstream messages;
  HeadlessGame headless(tally, messages);
  const double before = peakMb();
  const double t0 = nowMs();
  auto decoded = decodeSystem(text);
  std::string outcome;
  if (const auto* why = std::get_if<std::string>(&decoded)) {
    outcome = "refused: " + *why;
  } else if (c.open) {
    const auto notOpened = openSystem(headless.game(), std::get<SystemSnapshot>(decoded));
    outcome = notOpened ? "not opened: " + *notOpened : "opened";
  } else {
    outcome = "read";
  }
  const double ms = nowMs() - t0;
  const double peak = peakMb();
  std::printf("%-34s %9zu %9.1f %9.1f %9.1f  %s\n", c.name, text.size(), ms, peak, peak - before,
              shortened(outcome).c_str());
  std::fflush(stdout);
  _exit(0);
}

int run() {
  const std::string sound = soundFile();
  const Case cases[] = {
      {"33554432 '['", [] { return std::string(kLimit, '['); }},
      {"32 MiB of 0, inside [", [] { return withinLimit("[", "0,", "0]"); }},
      {"32 MiB of 0, as a table",
       [] {
         return withinLimit(
             "{\"format\": \"velmora-system\", \"version\": 2, "
             "\"bodies\": {\"PlanetX\": [",
             "0,", "0]}}");
       }},
      {"32 MiB of {\"a\":[ nesting", [] { return withinLimit("{\"x\":", "{\"a\":[", ""); }},
      {"32 MiB text in the picture",
       [] {
         return withinLimit("{\"format\": \"velmora-system\", \"version\": 2, \"picture\": \"", "A",
                            "\"}");
       }},
      {"999 bodies, full-HD picture", [&] { return sound; }},
      {"999 bodies, opened", [&] { return sound; }, true},
  };
  std::printf("%-34s %9s %9s %9s %9s  %s\n", "input", "bytes", "ms", "peak MB", "beyond MB",
              "outcome");
  for (const Case& c : cases) {
    std::fflush(stdout);  // or the child prints the parent's buffer again
    const pid_t child = fork();
    if (child < 0) return 1;
    if (child == 0) measure(c);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      std::printf("%-34s failed (status %d)\n", c.name, status);
      return 1;
    }
  }
  return 0;
}

}  // namespace
}  // namespace velmora

int main() {
  return velmora::run();
}
