#include "qt/system_files.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>
#include <QWidget>

#include "app/system_snapshot.h"
#include "app/typed_value.h"
#include "platform/system_file.h"
#include "qt/model_call.h"
#include "state/game.h"

namespace velmora::qt {

namespace {

constexpr const char* kFolderKey = "systems/folder";

// The one local .velmora file a drag carries, if it carries just that.
QString droppedSystemFile(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) return {};
  const QUrl url = data->urls().first();
  if (!url.isLocalFile()) return {};
  const QString path = url.toLocalFile();
  return path.endsWith(".velmora", Qt::CaseInsensitive) ? path : QString();
}

class DropFilter : public QObject {
 public:
  DropFilter(QWidget& window, Game& game) : QObject(&window), game_(game) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
      auto* drag = static_cast<QDragMoveEvent*>(event);
      if (!droppedSystemFile(drag->mimeData()).isEmpty()) {
        drag->acceptProposedAction();
        return true;
      }
    } else if (event->type() == QEvent::Drop) {
      auto* drop = static_cast<QDropEvent*>(event);
      const QString path = droppedSystemFile(drop->mimeData());
      if (!path.isEmpty()) {
        drop->acceptProposedAction();
        openSystemNow(game_, path);
        return true;
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  Game& game_;
};

}  // namespace

QString systemFolder() {
  const QString last = QSettings().value(kFolderKey).toString();
  if (!last.isEmpty() && QDir(last).exists()) return last;
  const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  return !docs.isEmpty() && QDir(docs).exists() ? docs : QDir::homePath();
}

void rememberSystemFolder(const QString& filePath) {
  QSettings().setValue(kFolderKey, QFileInfo(filePath).absolutePath());
}

void saveSystemAsked(QWidget* parent, Game& game) {
  {
    // Before the dialog, as a click on a menu or button would: the file and the game
    // then hold the same value.
    ModelCall call;
    applyTypedValue(game);
  }
  if (!hasSystem(game)) {
    // Told before any dialog: there is nothing to choose a file for.
    ModelCall call;
    saveSystemTelling(game, "system.velmora");
    return;
  }
  QString path = QFileDialog::getSaveFileName(
      parent, "Save system", QDir(systemFolder()).filePath("system.velmora"), kSystemFileFilter);
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += ".velmora";
  rememberSystemFolder(path);
  ModelCall call;
  saveSystemTelling(game, path.toStdString());
}

void openSystemAsked(QWidget* parent, Game& game) {
  const QString path =
      QFileDialog::getOpenFileName(parent, "Open system", systemFolder(), kSystemFileFilter);
  if (path.isEmpty()) return;
  rememberSystemFolder(path);
  openSystemNow(game, path);
}

bool openSystemNow(Game& game, const QString& path) {
  return openSystemNow(game, QFile::encodeName(path).toStdString());
}

bool openSystemNow(Game& game, const std::string& localPath) {
  ModelCall call;
  return openSystemTelling(game, localPath);
}

void acceptSystemFileDrops(QWidget& window, Game& game) {
  window.setAcceptDrops(true);
  window.installEventFilter(new DropFilter(window, game));
}

}  // namespace velmora::qt
