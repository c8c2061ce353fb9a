#include "platform/tally_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include "platform/player_file.h"

namespace velmora {

std::optional<std::string> TallyFile::read() {
  // Never waits: a pipe or a device in the tally's place reads as no file at all.
  RegularFile file(path_);
  // The file is one short line; anything beyond a generous limit is not a tally.
  return file.readAtMost(64 * 1024);
}

bool TallyFile::write(const std::string& contents) {
  QSaveFile file(QString::fromStdString(path_));
  file.setDirectWriteFallback(true);
  if (!file.open(QIODevice::WriteOnly)) return false;
  const auto size = static_cast<qint64>(contents.size());
  // The buffered bytes reach the disk only at the flush, and commit() does not report
  // a flush that failed there (a full disk): flush here and check it.
  if (file.write(contents.data(), size) != size || !file.flush()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

std::string defaultTallyPath() {
  const QString beside = QCoreApplication::applicationDirPath();
  const QFileInfo dir(beside);
  if (!beside.isEmpty() && dir.isDir() && dir.isWritable()) {
    return QDir(beside).filePath("tallyho.ogg").toStdString();
  }
  // $XDG_DATA_HOME, by default ~/.local/share.
  const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  const QString folder = QDir(data).filePath("velmora");
  QDir().mkpath(folder);
  return QDir(folder).filePath("tallyho.ogg").toStdString();
}

}  // namespace velmora
