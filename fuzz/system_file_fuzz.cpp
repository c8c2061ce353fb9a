// The saved-system loader: any bytes are either refused with a message, the running
// game left exactly as it was, or opened into a sound game, paused, whose own file
// reads back to the same file.
#include <cmath>
#include <cstdint>
#include <string>
#include <variant>

#include "app/system_snapshot.h"
#include "form/player.h"
#include "fuzz_check.h"
#include "platform/system_format.h"
#include "quiet_host.h"
#include "script/world_items.h"
#include "state/game.h"
#include "world_sound.h"

namespace {

using namespace velmora;

struct Fingerprint {
  uint64_t hash;
  std::string rngState;
  uint64_t draws;
  bool running;
  std::vector<uint32_t> pixels;
  bool operator==(const Fingerprint&) const = default;
};

Fingerprint fingerprint(const Game& g) {
  return {worldHash(g.world), g.rng.state(), g.rng.draws(), g.Ti->enabled(), g.surface.pixels()};
}

// A small window keeps the picture, and so each good input, small.
Game& runningGame() {
  static VirtualClock clock;
  static QuietHost host;
  static MemoryTallyStorage tally;
  static Game game(clock, host, tally);
  static const bool started = [] {
    game.load();
    game.resize(3000, 2400);
    playerClick(*game.CDp[kPresetTwinNova]);
    playerClick(*game.Command2);
    return true;
  }();
  (void)started;
  return game;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Game& g = runningGame();
  const std::string text(reinterpret_cast<const char*>(data), size);
  const Fingerprint before = fingerprint(g);

  auto decoded = decodeSystem(text);
  if (const auto* why = std::get_if<std::string>(&decoded)) {
    FUZZ_CHECK(!why->empty());
    FUZZ_CHECK(fingerprint(g) == before);
    return 0;
  }
  const SystemSnapshot& s = std::get<SystemSnapshot>(decoded);
  if (const auto why = openSystem(g, s)) {
    FUZZ_CHECK(!why->empty());
    FUZZ_CHECK(fingerprint(g) == before);
    return 0;
  }

  // Opened: paused, within the game's ranges, and its own file reads back the same.
  FUZZ_CHECK(!g.Ti->enabled());
  // A file may hold the on/off box's third state, which play itself never stores.
  const std::string unsound = soak::unsoundness(g);
  FUZZ_CHECK(unsound.empty() || (unsound.starts_with("PlanetOff(") && unsound.ends_with(") 2")));
  const std::string saved = encodeSystem(captureSystem(g));
  FUZZ_CHECK(!saved.empty());
  auto again = decodeSystem(saved);
  FUZZ_CHECK(std::holds_alternative<SystemSnapshot>(again));
  FUZZ_CHECK(encodeSystem(std::get<SystemSnapshot>(again)) == saved);
  return 0;
}
