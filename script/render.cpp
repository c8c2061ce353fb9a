#include "script/render.h"

#include <QImage>
#include <chrono>
#include <ostream>

#include "form/player.h"
#include "platform/field_frame.h"
#include "platform/system_file.h"
#include "script/headless.h"
#include "script/video_export.h"
#include "state/game.h"

namespace velmora {

namespace {

bool clickIfAvailable(Control& c, std::ostream& err) {
  if (!c.available()) {
    err << "velmora: " << c.id() << " is not available\n";
    return false;
  }
  playerClick(c);
  return true;
}

bool endsWithPng(std::string name) {
  for (char& c : name) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  return name.ends_with(".png");
}

// Why the request cannot be rendered, as a message; nothing when it can.
std::optional<std::string> refusal(const RenderRequest& r) {
  if (r.preset < 0 || r.preset > 6) return "--preset takes 1 to 6";
  if (r.ticks < 0) return "--ticks takes a count of 0 or more";
  if (r.every < 1) return "--every takes a count of 1 or more";
  if (r.fps < 1 || r.fps > kMaxVideoFps) {
    return "--fps takes 1 to " + std::to_string(kMaxVideoFps);
  }
  return std::nullopt;
}

// One system on its way: the saved one opened (paused) or the panel's after "Go".
class RenderRun {
 public:
  RenderRun(HeadlessGame& headless) : headless_(headless) {}

  // 0 when the system stands ready, else the exit status (the reason in `err`).
  int start(const RenderRequest& r, std::ostream& err) {
    Game& g = headless_.game();
    if (!r.open.empty()) {
      if (const auto why = openSystemFile(g, r.open)) {
        err << "velmora: " << *why << "\n";
        return 2;
      }
      paused_ = true;
      return 0;
    }
    if (r.preset > 0 && !clickIfAvailable(*g.CDp[r.preset - 1], err)) return 2;
    if (r.seed) {
      if (g.CHran->value() == 0 && !clickIfAvailable(*g.CHran, err)) return 2;
      if (!g.TXran->available() || g.TXran->locked()) {
        err << "velmora: TXran is not available\n";
        return 2;
      }
      playerType(*g.TXran, std::to_string(*r.seed));
      playerLeave(*g.TXran);
    }
    if (r.spin && g.CHgod->value() == 0 && !clickIfAvailable(*g.CHgod, err)) return 2;
    if (!clickIfAvailable(*g.Command2, err)) return 2;
    return 0;
  }

  // Lets `ticks` ticks pass; a saved system is resumed at the first.
  void run(long long ticks) { runTicks(headless_, paused_, ticks); }
  bool paused() const { return paused_; }

 private:
  HeadlessGame& headless_;
  bool paused_ = false;
};

// A line on standard error each second: frames done, of how many, time left.
class ProgressLine {
 public:
  explicit ProgressLine(std::ostream& err) : err_(err) {}

  bool operator()(long long done, long long total) {
    const auto now = Clock::now();
    if (now - last_ < std::chrono::seconds(1)) return true;
    last_ = now;
    const double perFrame = std::chrono::duration<double>(now - start_).count() / done;
    const auto left = static_cast<long long>(perFrame * static_cast<double>(total - done) + 0.5);
    err_ << "velmora: " << done << " of " << total << " frames, " << left << " s left\n"
         << std::flush;
    return true;
  }

 private:
  using Clock = std::chrono::steady_clock;
  std::ostream& err_;
  Clock::time_point start_ = Clock::now();
  Clock::time_point last_ = start_;
};

int renderVideo(const RenderRequest& r, VideoKind kind, TallyStorage& tally, std::ostream& out,
                std::ostream& err) {
  HeadlessGame headless(tally, out);
  RenderRun run(headless);
  if (const int status = run.start(r, err)) return status;
  ProgressLine progress(err);
  const ExportResult result =
      filmRun(headless, run.paused(), r.path, kind, {r.ticks, r.every, r.fps}, std::ref(progress));
  if (result.end == ExportResult::End::kWritten) return 0;
  err << "velmora: cannot write " << r.path << ": " << result.why << "\n";
  return 2;
}

}  // namespace

int renderPicture(const RenderRequest& r, TallyStorage& tally, std::ostream& out,
                  std::ostream& err) {
  if (auto why = refusal(r)) {
    err << "velmora: " << *why << "\n";
    return 2;
  }
  HeadlessGame headless(tally, out);
  RenderRun run(headless);
  if (const int status = run.start(r, err)) return status;
  run.run(r.ticks);
  if (!writePng(fieldFrame(headless.game()), r.path)) {
    err << "velmora: cannot write " << r.path << "\n";
    return 2;
  }
  return 0;
}

int render(const RenderRequest& r, TallyStorage& tally, std::ostream& out, std::ostream& err) {
  if (auto why = refusal(r)) {
    err << "velmora: " << *why << "\n";
    return 2;
  }
  if (endsWithPng(r.path)) return renderPicture(r, tally, out, err);
  if (const auto kind = videoKindOf(r.path)) return renderVideo(r, *kind, tally, out, err);
  err << "velmora: --render writes .png, .mp4, .webm or .apng, not " << r.path << "\n";
  return 2;
}

}  // namespace velmora
