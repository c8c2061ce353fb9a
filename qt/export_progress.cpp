#include "qt/export_progress.h"

#include <QElapsedTimer>
#include <QProgressDialog>
#include <QTimer>
#include <atomic>
#include <thread>

namespace velmora::qt {

namespace {

// How often the dialog looks at the worker's count.
constexpr int kLookMs = 100;

}  // namespace

ExportResult runWithProgress(QWidget* parent,
                             const std::function<ExportResult(const FrameProgress&)>& job) {
  std::atomic<long long> done{0};
  std::atomic<long long> total{0};
  std::atomic<bool> cancelled{false};
  std::atomic<bool> ended{false};
  ExportResult result;
  std::thread worker([&] {
    result = job([&](long long d, long long t) {
      total = t;
      done = d;
      return !cancelled.load();
    });
    ended = true;
  });

  QProgressDialog dialog("Exporting the video...", "Cancel", 0, 1000, parent);
  dialog.setWindowTitle("Export video");
  dialog.setWindowModality(Qt::WindowModal);
  dialog.setMinimumDuration(0);
  dialog.setAutoClose(false);
  dialog.setAutoReset(false);
  QElapsedTimer clock;
  clock.start();
  QTimer look;
  QObject::connect(&look, &QTimer::timeout, &dialog, [&] {
    if (ended) {
      dialog.accept();
      return;
    }
    const long long d = done;
    const long long t = total;
    if (t <= 0 || d <= 0) return;
    dialog.setValue(static_cast<int>(1000 * d / t));
    const double left = static_cast<double>(clock.elapsed()) / 1000 / static_cast<double>(d) *
                        static_cast<double>(t - d);
    dialog.setLabelText(QString("Frame %1 of %2, %3 s left").arg(d).arg(t).arg(qRound64(left)));
  });
  QObject::connect(&dialog, &QProgressDialog::canceled, &dialog, [&] { cancelled = true; });
  look.start(kLookMs);
  if (!ended) dialog.exec();
  // After a cancel the worker stops at its next frame.
  if (dialog.wasCanceled()) cancelled = true;
  worker.join();
  return result;
}

}  // namespace velmora::qt
