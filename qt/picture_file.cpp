#include "qt/picture_file.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>

#include "form/surface.h"
#include "script/headless.h"

namespace velmora::qt {

QString defaultPictureName(const QDateTime& when) {
  return "velmora-" + when.toString("yyyyMMdd-HHmmss") + ".png";
}

QString defaultPicturePath(const QDateTime& when) {
  QString dir = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
  if (dir.isEmpty() || !QDir(dir).exists()) dir = QDir::homePath();
  return QDir(dir).filePath(defaultPictureName(when));
}

void savePictureAsked(QWidget* parent, const Surface& surface) {
  QString path = QFileDialog::getSaveFileName(parent, "Save picture",
                                              defaultPicturePath(QDateTime::currentDateTime()),
                                              "PNG pictures (*.png)");
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += ".png";
  if (!writePng(surface, path.toStdString())) {
    QMessageBox::warning(parent, "Save picture", "Could not write " + path);
  }
}

}  // namespace velmora::qt
