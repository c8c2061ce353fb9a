#include "qt/video_export.h"

#include <QFile>
#include <QMessageBox>
#include <memory>

#include "app/system_snapshot.h"
#include "app/time_control.h"
#include "app/timeline.h"
#include "app/typed_value.h"
#include "qt/export_progress.h"
#include "qt/model_call.h"
#include "qt/video_export_dialog.h"
#include "state/game.h"

namespace velmora::qt {

void exportVideoAsked(QWidget* parent, Game& game) {
  if (ModelCall::running() || !pausedForEditing(game) || !game.timeline->started()) return;
  {
    // As a click on a button would: a value being typed belongs to this moment.
    ModelCall call;
    applyTypedValue(game);
  }
  VideoExportDialog dialog(parent, game.timeline->first(), game.timeline->tick());
  if (dialog.exec() != QDialog::Accepted) return;
  exportVideoNow(parent, game, dialog.choice());
}

ExportResult exportVideoNow(QWidget* parent, const Game& game, const VideoChoice& choice) {
  // No timer of the game runs meanwhile: it stays as it is, to the clock.
  ModelCall call;
  const Timeline& timeline = *game.timeline;
  const long long now = timeline.tick();
  // The timeline's keyframes before this moment, then this moment itself as the
  // game shows it (with any edit of this pause, which no keyframe holds yet).
  std::vector<long long> ticks;
  for (const long long t : timeline.keyframeTicks()) {
    if (t < now) ticks.push_back(t);
  }
  ticks.push_back(now);
  const auto current = std::make_shared<const SystemSnapshot>(captureSystem(game));
  const size_t last = ticks.size() - 1;
  const KeptRun kept{ticks, [&timeline, current, last](size_t i, Game& into) {
                       return i < last ? timeline.openKeyframe(i, into)
                                       : openSystem(into, *current);
                     }};
  const std::string path = QFile::encodeName(choice.path).toStdString();
  const VideoSpan span{choice.to - choice.from, choice.every, choice.fps};
  const ExportResult result = runWithProgress(parent, [&](const FrameProgress& progress) {
    return filmKeptRun(kept, choice.from, path, span, progress);
  });
  if (result.end == ExportResult::End::kFailed) {
    QMessageBox::warning(
        parent, "Export video",
        "Cannot write \"" + choice.path + "\": " + QString::fromStdString(result.why) + ".");
  }
  return result;
}

}  // namespace velmora::qt
