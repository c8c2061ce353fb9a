// A video of a run, frame by frame in virtual time: frame i is the field after
// i * every ticks, drawn as the player sees it at x1. Headless: `--render OUT.mp4`
// films a system it builds; the window films a keyframe of its game, opened in a
// game of its own on a worker thread, so the game on screen is never touched.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/video_file.h"

namespace velmora {

class Game;
class HeadlessGame;

struct VideoSpan {
  long long ticks = 0;  // the run's length; the last frame is at its last whole step
  long long every = 1;  // ticks between frames, 1 or more
  int fps = 60;         // frames a second, 1..kMaxVideoFps
};

inline constexpr int kMaxVideoFps = 999;

// Frames in a span: T/K + 1.
long long frameCount(const VideoSpan& span);

// Sees each frame written, with the count written and the total; answering false
// cancels the export.
using FrameProgress = std::function<bool(long long done, long long total)>;

struct ExportResult {
  enum class End { kWritten, kCancelled, kFailed };
  End end = End::kFailed;
  std::string why;  // when failed: why, in the player's words
};

// Lets `ticks` ticks of the simulation timer pass (none when 0). A paused game (a
// saved system just opened) is resumed first, and `paused` cleared.
void runTicks(HeadlessGame& headless, bool& paused, long long ticks);

// Films the game from where it stands. A paused game (a saved system just opened)
// is resumed at its first tick. Nothing is left at `path` unless it was written.
ExportResult filmRun(HeadlessGame& headless, bool paused, const std::string& path, VideoKind kind,
                     const VideoSpan& span, const FrameProgress& progress);

// A run kept as keyframes: whole moments at known ticks, oldest first. Between two,
// the moments are the simulation ticks from the earlier, one after another; a
// keyframe holds what the ticks alone would not give (an edit, a clear made at its
// moment).
struct KeptRun {
  std::vector<long long> keyframeTicks;
  // Puts the keyframe of that index into `game` (a game of the export's own) as
  // replay starts from it; why it cannot. Called on the exporting thread.
  std::function<std::optional<std::string>(size_t index, Game& game)> open;
};

// Films the moments from `from` on (span.ticks of them) of a kept run: each frame
// the state at its moment, replayed in a headless game of its own from the keyframe
// before it, every keyframe on the way taken as it stands, and drawn as the field
// looks while it plays. Safe on any thread while the keyframes it reads stay as
// they are.
ExportResult filmKeptRun(const KeptRun& kept, long long from, const std::string& path,
                         const VideoSpan& span, const FrameProgress& progress);

}  // namespace velmora
