// "Export video...": the dialog that asks for the file (in the videos folder, then
// in the folder last used), the span of moments (the start of the timeline to the
// current moment unless changed), a frame every how many ticks and the frame rate.
#pragma once

#include <QDateTime>
#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QSpinBox;

namespace velmora::qt {

struct VideoChoice {
  QString path;
  long long from = 0;  // moments (ticks since the run began)
  long long to = 0;
  long long every = 1;
  int fps = 60;
};

// The folder the dialog starts in: the last one a video went to (kept with
// QSettings), else the videos folder, else the home folder.
QString videoFolder();
void rememberVideoFolder(const QString& filePath);
// "velmora-YYYYMMDD-HHMMSS.mp4"
QString defaultVideoName(const QDateTime& when);

class VideoExportDialog : public QDialog {
 public:
  // The span may run from `first` to `now`, the current moment.
  VideoExportDialog(QWidget* parent, long long first, long long now);

  VideoChoice choice() const;
  void setChoice(const VideoChoice& c);  // tests fill it as a player would

  void accept() override;

 private:
  void browse();
  void showCount();

  QLineEdit* file_;
  QSpinBox* from_;
  QSpinBox* to_;
  QSpinBox* every_;
  QSpinBox* fps_;
  QLabel* count_;
};

}  // namespace velmora::qt
