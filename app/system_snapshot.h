// A saved system as plain data: everything that decides what a started system does
// next, and nothing that a new start of the clock would give anew (no elapsed or
// stable time, no score, no best score ever). The file format reads and writes
// this; the game captures it and opens it.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "world/world.h"

namespace velmora {

class Game;

struct TimerSnapshot {
  int interval = 0;  // ms, 0..65535
  bool enabled = false;
  int64_t dueInMs = 0;  // ms until its next tick, 0..interval; 0 when not enabled
  friend bool operator==(const TimerSnapshot&, const TimerSnapshot&) = default;
};

struct SystemSnapshot {
  int windowWidth = 0;   // twips, the window's outer extents the rules read
  int windowHeight = 0;  // twips

  // The tables and the settings. Its clock and score fields are not part of a
  // snapshot: capture leaves them 0, opening ignores them.
  World world;

  std::string rngState;  // the generator's state text, see Rng::state
  uint64_t rngDraws = 0;

  // The main window's fields by id ("TXg(2)"): every text field's text, every
  // check box's value (0..2), the border option selected (0..6, -1 none) and the
  // last accepted text of the fields that keep one.
  std::map<std::string, std::string> texts;
  std::map<std::string, int> checks;
  int borderOption = -1;
  std::map<std::string, std::string> accepted;

  std::map<std::string, TimerSnapshot> timers;  // by name: Ti, Tr, TiK, TiF, Tiball, Timero

  int shownBody = 0;  // the editor's selector: the body it shows when open, 0..999

  // The speed (TimeSpeed's level, -3..3) and the periods passed since the last tick
  // at a slow one. Files of version 1 keep neither: x1, at the start of a cycle.
  int speedLevel = 0;
  int idlePeriods = 0;

  // The field's picture, 0xFFRRGGBB row by row, of the field size for the window.
  int pictureWidth = 0;
  int pictureHeight = 0;
  std::vector<uint32_t> pixels;
};

// Longest text a saved field may hold, in characters: what the window's fields
// take at most.
inline constexpr int kMaxSavedTextLength = 32767;
// Largest window extent a saved system may name, in twips (as the script's size).
inline constexpr int kMaxSavedWindowExtent = 100000;

// A whole number of a snapshot beside the World's: its place in the file, its name
// in a message and the range the game opens. The file format and checkSnapshot walk
// this list.
struct SnapshotWhole {
  const char* section;  // "window"
  const char* key;      // "width"
  const char* spoken;   // "the window width"
  const char* unit;     // "twips", or empty
  int SystemSnapshot::*member;
  long long lo;
  long long hi;
};
std::span<const SnapshotWhole> snapshotWholes();

// True once "Go" has built a system; only then is there something to save.
bool hasSystem(const Game& g);

// The system as it stands. Captures only; the game is not changed.
SystemSnapshot captureSystem(const Game& g);

// The first thing in `s` that this game cannot open, as a phrase ("the planet count
// 1000 is outside 0..999"); nothing when every value is within its range.
std::optional<std::string> checkSnapshot(const Game& g, const SystemSnapshot& s);

// Opens a checked snapshot: the game takes the saved system, paused, in the running
// layout, the editor open on the saved body; the clock starts afresh as at "Go"
// (no elapsed or stable time, no score of this run; the best score ever stays).
// Returns the first thing wrong, changing nothing, when `s` does not pass the check.
std::optional<std::string> openSystem(Game& g, const SystemSnapshot& s);

}  // namespace velmora
