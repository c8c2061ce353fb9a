#include "qt/video_export_dialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QStandardPaths>
#include <algorithm>
#include <limits>

#include "platform/video_file.h"
#include "script/video_export.h"

namespace velmora::qt {

namespace {

constexpr const char* kFolderKey = "videos/folder";
constexpr const char* kVideoFilter = "Videos (*.mp4 *.webm *.apng)";

int spinValue(long long v) {
  return static_cast<int>(std::clamp<long long>(v, 0, std::numeric_limits<int>::max()));
}

}  // namespace

QString videoFolder() {
  const QString last = QSettings().value(kFolderKey).toString();
  if (!last.isEmpty() && QDir(last).exists()) return last;
  const QString videos = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
  return !videos.isEmpty() && QDir(videos).exists() ? videos : QDir::homePath();
}

void rememberVideoFolder(const QString& filePath) {
  QSettings().setValue(kFolderKey, QFileInfo(filePath).absolutePath());
}

QString defaultVideoName(const QDateTime& when) {
  return "velmora-" + when.toString("yyyyMMdd-HHmmss") + ".mp4";
}

VideoExportDialog::VideoExportDialog(QWidget* parent, long long first, long long now)
    : QDialog(parent) {
  setWindowTitle("Export video");
  auto* form = new QFormLayout;

  file_ =
      new QLineEdit(QDir(videoFolder()).filePath(defaultVideoName(QDateTime::currentDateTime())));
  file_->setToolTip("MP4 (H.264, plays everywhere), WebM (VP9) or APNG (lossless), by the ending");
  // Room for a folder and the default name.
  file_->setMinimumWidth(file_->fontMetrics().horizontalAdvance(file_->text()) + 24);
  auto* browse = new QPushButton("Browse...");
  connect(browse, &QPushButton::clicked, this, [this] { this->browse(); });
  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(file_, 1);
  fileRow->addWidget(browse);
  form->addRow("File:", fileRow);

  const auto spin = [this](long long lo, long long hi, long long value) {
    auto* box = new QSpinBox;
    box->setRange(spinValue(lo), spinValue(hi));
    box->setValue(spinValue(value));
    connect(box, &QSpinBox::valueChanged, this, [this] { showCount(); });
    return box;
  };
  from_ = spin(first, now, first);
  from_->setToolTip("The first moment filmed: ticks since the run began");
  to_ = spin(first, now, now);
  to_->setToolTip("The last moment filmed; the current moment at first");
  auto* span = new QHBoxLayout;
  span->addWidget(from_);
  span->addWidget(new QLabel("to"));
  span->addWidget(to_);
  form->addRow("Span, in ticks:", span);
  every_ = spin(1, std::numeric_limits<int>::max(), 1);
  every_->setToolTip("A frame every K simulation ticks");
  form->addRow("Ticks a frame:", every_);
  fps_ = spin(1, kMaxVideoFps, 60);
  form->addRow("Frames a second:", fps_);
  count_ = new QLabel;
  form->addRow("", count_);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  buttons->button(QDialogButtonBox::Ok)->setText("Export");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
  showCount();
}

VideoChoice VideoExportDialog::choice() const {
  return {file_->text(), from_->value(), to_->value(), every_->value(), fps_->value()};
}

void VideoExportDialog::setChoice(const VideoChoice& c) {
  file_->setText(c.path);
  from_->setValue(spinValue(c.from));
  to_->setValue(spinValue(c.to));
  every_->setValue(spinValue(c.every));
  fps_->setValue(static_cast<int>(c.fps));
}

void VideoExportDialog::browse() {
  const QString path =
      QFileDialog::getSaveFileName(this, "Export video", file_->text(), kVideoFilter);
  if (!path.isEmpty()) file_->setText(path);
}

void VideoExportDialog::showCount() {
  const VideoChoice c = choice();
  if (c.to < c.from) {
    count_->setText("The span ends before it starts.");
    return;
  }
  const long long frames = frameCount({c.to - c.from, c.every, c.fps});
  count_->setText(
      QString("%1 frames, %2 s of video").arg(frames).arg(double(frames) / c.fps, 0, 'f', 1));
}

void VideoExportDialog::accept() {
  QString path = file_->text();
  if (QFileInfo(path).suffix().isEmpty()) path += ".mp4";
  file_->setText(path);
  const VideoChoice c = choice();
  QString refusal;
  if (!videoKindOf(QFile::encodeName(path).toStdString())) {
    refusal = "A video's name ends in .mp4, .webm or .apng.";
  } else if (c.to < c.from) {
    refusal = "The span ends before it starts.";
  }
  if (!refusal.isEmpty()) {
    QMessageBox::warning(this, "Export video", refusal);
    return;
  }
  rememberVideoFolder(path);
  QDialog::accept();
}

}  // namespace velmora::qt
