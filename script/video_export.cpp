#include "script/video_export.h"

#include <QImage>
#include <sstream>

#include "app/system_snapshot.h"
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

ExportResult filmRun(HeadlessGame& headless, bool paused, const std::string& path, VideoKind kind,
                     const VideoSpan& span, const FrameProgress& progress) {
  Game& g = headless.game();
  const long long frames = frameCount(span);
  VideoFile video;
  if (auto why = video.open(path, kind, g.surface.width(), g.surface.height(), span.fps)) {
    return {ExportResult::End::kFailed, *why};
  }
  for (long long i = 0; i < frames; ++i) {
    if (i > 0) runTicks(headless, paused, span.every);
    const QImage frame = fieldFrame(g);
    const auto* pixels = reinterpret_cast<const uint32_t*>(frame.constBits());
    if (auto why = video.add(pixels, static_cast<int>(frame.bytesPerLine() / 4))) {
      return {ExportResult::End::kFailed, *why};
    }
    // The video is abandoned with `video`: nothing is left.
    if (progress && !progress(i + 1, frames)) return {ExportResult::End::kCancelled, {}};
  }
  if (auto why = video.finish()) return {ExportResult::End::kFailed, *why};
  return {ExportResult::End::kWritten, {}};
}

ExportResult filmSnapshot(const SystemSnapshot& start, const std::string& path,
                          const VideoSpan& span, const FrameProgress& progress) {
  const auto kind = videoKindOf(path);
  if (!kind) return {ExportResult::End::kFailed, "a video's name ends in .mp4, .webm or .apng"};
  MemoryTallyStorage tally;
  std::ostringstream messages;  // a message box of the copy is nobody's
  HeadlessGame headless(tally, messages);
  if (auto why = openSystem(headless.game(), start)) return {ExportResult::End::kFailed, *why};
  return filmRun(headless, true, path, *kind, span, progress);
}

}  // namespace velmora
