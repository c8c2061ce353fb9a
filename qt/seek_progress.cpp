#include "qt/seek_progress.h"

#include <QApplication>
#include <QCursor>
#include <QProgressDialog>
#include <memory>

#include "app/timeline.h"
#include "state/game.h"

namespace velmora::qt {

namespace {

// Runs `move` with a wait cursor and a progress dialog that appears only when the
// replay takes longer than a moment. Its nested event loop is safe: timers and
// player actions wait while a model call runs.
template <class Move>
std::optional<std::string> showingProgress(QWidget* parent, long long tick, Move move) {
  QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  std::unique_ptr<QProgressDialog> dialog;
  const Timeline::Progress progress = [&](long long done, long long total) {
    if (!dialog) {
      dialog = std::make_unique<QProgressDialog>(
          QString("Replaying the moments up to tick %1...").arg(tick), QString(), 0, 0, parent);
      dialog->setObjectName("seekProgress");
      dialog->setWindowTitle("Timeline");
      dialog->setWindowModality(Qt::WindowModal);
      dialog->setMinimumDuration(kSeekProgressAfterMs);
      dialog->setAutoClose(false);
    }
    dialog->setMaximum(static_cast<int>(total));
    dialog->setValue(static_cast<int>(done));
  };
  auto refused = move(progress);
  QApplication::restoreOverrideCursor();
  return refused;
}

}  // namespace

std::optional<std::string> seekShowingProgress(QWidget* parent, Game& game, long long tick) {
  return showingProgress(parent, tick, [&](const Timeline::Progress& progress) {
    return game.timeline->seek(game, tick, progress);
  });
}

std::optional<std::string> backShowingProgress(QWidget* parent, Game& game) {
  return showingProgress(parent, game.timeline->tick() - 1,
                         [&](const Timeline::Progress& p) { return game.timeline->back(game, p); });
}

}  // namespace velmora::qt
