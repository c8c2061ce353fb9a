// The timeline: every moment of the run since "Go" (or since a system was opened),
// the state at the end of each tick with the edits, clears and resizes made after
// it. Keyframes hold whole moments (a captured system with its picture packed);
// the moments between two keyframes are replayed with the tick the timer runs.
// Keeping it changes nothing in the game: no draw, no event.
//
// A keyframe is taken at tick 0, before any tick whose starting state replay
// would not give (after an edit, a clear, a resize, a field changed, a pause), and
// then as often as a keyframe's cost stays a small share of the ticks' time. The
// timeline is linear: a tick run from an earlier moment, or an edit there that is
// then left, drops the later moments.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/picture_change.h"
#include "app/picture_runs.h"
#include "app/system_snapshot.h"
#include "world/rng.h"
#include "world/world.h"

namespace velmora {

class Game;

class Timeline {
 public:
  // A keyframe costs at most this share of the time of the ticks since the last,
  // so a replay from it takes at most 1 / kKeyframeShare keyframes' time.
  static constexpr double kKeyframeShare = 0.04;
  static constexpr size_t kDefaultBudget = size_t{256} << 20;  // bytes
  static constexpr long long kRecentTicks = 4000;              // a minute at 15 ms
  static constexpr int kUndoDepth = 100;                       // edits of one pause
  static constexpr long long kProgressTicks = 16;              // replayed between reports
  // A keyframe keeps its picture as the change from the keyframe before when that
  // is at most this share of the picture's words, and at most this many in a row
  // follow a whole picture, so rebuilding one applies a bounded number.
  static constexpr size_t kMostChangeShare = 4;  // one word in four
  static constexpr int kLongestChain = 32;

  // Follows the game's events: run once, when the game's events are wired.
  void attach(Game& g);
  // Starts afresh at the moment as it stands: "Go", or a system just opened.
  void restart(Game& g);
  // Holds nothing, as before the first "Go": a new system has no moments yet.
  void forget();
  // A keyframe every `ticks` ticks instead of by cost (0: by cost), for tests that
  // want keyframes at known ticks.
  void setKeyframeSpacing(long long ticks) { spacing_ = ticks; }
  bool started() const { return !keyframes_.empty(); }

  long long tick() const { return tick_; }  // the moment the game is at
  long long first() const { return 0; }
  // The latest moment; the current one when an edit made there will drop the later.
  long long last(const Game& g) const;
  // What the timeline holds: its keyframes (with the list's spare room) and the
  // edits of the current pause.
  size_t bytes() const;
  size_t keyframeCount() const { return keyframes_.size(); }
  // Older keyframes are thinned beyond this, never the moment of "Go"; the edits
  // of one pause come on top.
  void setBudget(size_t bytes);

  // Around every tick of the simulation timer (and a paused player's step).
  void beforeTick(Game& g);
  void afterTick(Game& g);

  // Moving along, only while paused with the editor open: the game shows moment
  // `tick` as a pause there shows it. Nothing changes and the reason is returned
  // when it cannot.
  // A far move replays many ticks: `progress` hears how many of how many are done.
  using Progress = std::function<void(long long done, long long total)>;
  std::optional<std::string> seek(Game& g, long long tick, const Progress& progress = {});
  std::optional<std::string> back(Game& g, const Progress& progress = {});

  // Undo and redo of the accepted editor edits of the current pause. An editor
  // handler is wrapped in editBegin/editEnd; nested ones count as one edit.
  void editBegin(const Game& g);
  void editEnd(const Game& g);
  std::optional<std::string> undo(Game& g);
  std::optional<std::string> redo(Game& g);
  bool canUndo() const { return !undo_.empty(); }
  bool canRedo() const { return !redo_.empty(); }

  // The ticks of the keyframes, oldest first (for tests, the benchmark and exports).
  std::vector<long long> keyframeTicks() const;
  // Puts keyframe `index` (of keyframeTicks()) into `other`, a game of its own, as a
  // seek starts its replay from it; the moments after it are its simulation ticks
  // (Ti_Timer) up to the next keyframe. Reads only: an export may call it on a
  // thread of its own while the game followed stands paused.
  std::optional<std::string> openKeyframe(size_t index, Game& other) const;

 private:
  // The moment itself lives apart, so the list's spare room and thinning's moves
  // are a few words a keyframe, not a world of tables.
  struct Keyframe {
    long long tick = 0;
    std::unique_ptr<const SystemSnapshot> system;  // its pixels are in `picture`
    PackedPicture picture;                         // the whole picture, packed,
    std::optional<PictureChange> change;           // or what changed since the one before
    size_t bytes = 0;                              // system and picture, where they live
  };

  // What decides the next tick beyond the tables: every field, box, option and
  // bar of the main window, the window's size, the picture's changes, the draws.
  struct Settings {
    std::vector<std::string> texts;
    std::vector<int> values;
    int width = 0;
    int height = 0;
    uint64_t pictureGeneration = 0;
    uint64_t draws = 0;
    friend bool operator==(const Settings&, const Settings&) = default;
  };
  // Taking an edit gives the entries that differ between `after` and `before`
  // their `before` values; it then goes to the other list turned round. A body
  // added draws its colour, so the generator goes back with the tables.
  // The editor's selector goes back too, so the body shown is the one shown then.
  struct Selector {
    int value = 0;
    int max = 0;
  };
  struct Edit {
    World before;
    World after;
    Rng rngBefore;
    Rng rngAfter;
    Selector selectorBefore;
    Selector selectorAfter;
  };
  struct State {
    World world;
    Settings settings;
  };
  static Settings settingsOf(const Game& g);
  static Selector selectorOf(const Game& g);
  static void select(Game& g, Selector s);
  static void remember(const Game& g, State& into);
  static bool same(const Game& g, const State& state);

  void record(const Game& g);
  bool touched(const Game& g) const;
  bool keyframeDue() const;
  void settle(const Game& g);
  void dropAfter(long long tick);
  size_t keyframeBytes() const;
  std::vector<uint32_t> pictureOf(size_t keyframe) const;
  int chainLength() const;
  void dropKeyframe(size_t keyframe);
  void forgetLastPicture();
  void forgetPictures();
  void thin();
  void goTo(Game& g, long long tick, const Progress& progress);
  bool editedHere(const Game& g) const;
  void forgetEdits();
  std::optional<std::string> takeEdit(Game& g, std::vector<Edit>& from, std::vector<Edit>& to,
                                      const char* none);

  std::vector<Keyframe> keyframes_;  // by tick, keyframes_[0] at tick 0
  size_t keptBytes_ = 0;             // the sum of the keyframes' own bytes
  // The latest keyframe's picture, whole, for the change to the next one; empty
  // when the latest keyframe is not the one it was taken for.
  std::vector<uint32_t> lastPicture_;
  std::vector<uint32_t> room_;  // where packing and changes are worked out
  size_t budget_ = kDefaultBudget;
  long long tick_ = 0;
  long long latest_ = 0;
  // Since the last tick: an event ran or a field changed (touched_), the picture
  // changed or the generator drew outside a tick.
  bool touched_ = false;
  uint64_t pictureGeneration_ = 0;
  uint64_t draws_ = 0;
  // A moment reached by a seek, as the game arrived at it; an edit there differs.
  bool arrived_ = false;
  State shown_;
  long long spacing_ = 0;
  double tickStartMs_ = 0;
  double ticksMs_ = 0;     // time of the ticks since the last keyframe
  double keyframeMs_ = 0;  // what the last keyframe took

  std::vector<Edit> undo_;
  std::vector<Edit> redo_;
  int editDepth_ = 0;
  World beforeEdit_;
  Rng rngBeforeEdit_;
  Selector selectorBeforeEdit_;
};

// One undoable edit for as long as it lives: a tool that stores several fields
// (a drag's two coordinates, an added body) is undone at once.
class TimelineEdit {
 public:
  explicit TimelineEdit(Game& g);
  ~TimelineEdit();
  TimelineEdit(const TimelineEdit&) = delete;
  TimelineEdit& operator=(const TimelineEdit&) = delete;

 private:
  Game& g_;
};

}  // namespace velmora
