#include "script/video_export.h"

#include <QImage>
#include <algorithm>
#include <sstream>

#include "app/engine_events.h"
#include "app/own_lanes.h"
#include "form/player.h"
#include "platform/field_frame.h"
#include "script/headless.h"
#include "state/game.h"

namespace velmora {

long long frameCount(const VideoSpan& span) {
  return span.ticks / span.every + 1;
}

void runTicks(HeadlessGame& headless, bool& paused, long long ticks) {
  if (ticks <= 0) return;
  Game& g = headless.game();
  if (paused) {
    playerClick(*g.Command5);
    paused = false;
  }
  headless.wait(ticks * g.Ti->interval());
}

namespace {

// Writes the frames: `goTo(t)` brings the game to the moment t ticks into the span
// (never back) or says why it cannot, and `frameOf` draws its field.
ExportResult filmFrames(const Game& g, const std::string& path, VideoKind kind,
                        const VideoSpan& span,
                        const std::function<std::optional<std::string>(long long)>& goTo,
                        QImage (*frameOf)(const Game&), const FrameProgress& progress) {
  if (span.ticks < 0 || span.every < 1 || span.fps < 1 || span.fps > kMaxVideoFps) {
    return {ExportResult::End::kFailed,
            "the span, the ticks a frame or the frame rate is out of range"};
  }
  const long long frames = frameCount(span);
  if (auto why = goTo(0)) return {ExportResult::End::kFailed, *why};
  const int width = g.surface.width();
  const int height = g.surface.height();
  VideoFile video;
  if (auto why = video.open(path, kind, width, height, span.fps)) {
    return {ExportResult::End::kFailed, *why};
  }
  // Leaving early abandons `video`: nothing is left at `path`.
  for (long long i = 0; i < frames; ++i) {
    if (i > 0) {
      if (auto why = goTo(i * span.every)) return {ExportResult::End::kFailed, *why};
    }
    const QImage frame = frameOf(g);
    if (frame.width() != width || frame.height() != height) {
      return {ExportResult::End::kFailed, "the field changed its size within the span"};
    }
    const auto* pixels = reinterpret_cast<const uint32_t*>(frame.constBits());
    if (auto why = video.add(pixels, static_cast<int>(frame.bytesPerLine() / 4))) {
      return {ExportResult::End::kFailed, *why};
    }
    if (progress && !progress(i + 1, frames)) return {ExportResult::End::kCancelled, {}};
  }
  if (auto why = video.finish()) return {ExportResult::End::kFailed, *why};
  return {ExportResult::End::kWritten, {}};
}

const char* const kNotAVideoName = "a video's name ends in .mp4, .webm or .apng";

}  // namespace

ExportResult filmRun(HeadlessGame& headless, bool paused, const std::string& path, VideoKind kind,
                     const VideoSpan& span, const FrameProgress& progress) {
  long long at = 0;
  const auto goTo = [&](long long t) -> std::optional<std::string> {
    runTicks(headless, paused, t - at);
    at = t;
    return std::nullopt;
  };
  return filmFrames(headless.game(), path, kind, span, goTo, fieldFrame, progress);
}

ExportResult filmKeptRun(const KeptRun& kept, long long from, const std::string& path,
                         const VideoSpan& span, const FrameProgress& progress) {
  const auto kind = videoKindOf(path);
  if (!kind) return {ExportResult::End::kFailed, kNotAVideoName};
  const std::vector<long long>& ticks = kept.keyframeTicks;
  if (ticks.empty() || ticks.front() > from) {
    return {ExportResult::End::kFailed, "no moment is kept that far back"};
  }
  const OwnLanes lanes;
  MemoryTallyStorage tally;
  std::ostringstream messages;  // a message box of the copy is nobody's
  HeadlessGame headless(tally, messages);
  Game& g = headless.game();
  // The keyframe to open when the run reaches its tick: first the last one at or
  // before `from`.
  auto next =
      static_cast<size_t>(std::upper_bound(ticks.begin(), ticks.end(), from) - ticks.begin() - 1);
  bool opened = false;
  long long at = 0;  // the moment the game is at, once opened
  const auto tick = [&g, &at](long long until) {
    for (; at < until; ++at) Ti_Timer(g);
  };
  // Runs to `moment`, taking each keyframe on the way as it stands.
  const auto runTo = [&](long long moment) -> std::optional<std::string> {
    while (next < ticks.size() && ticks[next] <= moment) {
      if (opened) tick(ticks[next]);
      opened = true;
      if (auto why = kept.open(next, g)) return why;
      at = ticks[next++];
    }
    tick(moment);
    return std::nullopt;
  };
  return filmFrames(
      g, path, *kind, span, [&](long long t) { return runTo(from + t); }, playingFieldFrame,
      progress);
}

}  // namespace velmora
