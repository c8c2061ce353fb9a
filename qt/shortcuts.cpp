#include "qt/shortcuts.h"

#include <QShortcut>
#include <QWidget>

#include "qt/form_binder.h"
#include "qt/system_files.h"
#include "qt/video_export.h"
#include "state/game.h"

namespace velmora::qt {

namespace {

const QList<QKeySequence> kGo{QKeySequence(Qt::CTRL | Qt::Key_G), QKeySequence(Qt::Key_F5)};
const QList<QKeySequence> kPause{QKeySequence(Qt::CTRL | Qt::Key_P), QKeySequence(Qt::Key_Pause)};
const QList<QKeySequence> kClear{QKeySequence(Qt::CTRL | Qt::Key_L)};
const QList<QKeySequence> kSave{QKeySequence(Qt::CTRL | Qt::Key_S)};
const QList<QKeySequence> kSaveSystem{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)};
const QList<QKeySequence> kOpenSystem{QKeySequence(Qt::CTRL | Qt::Key_O)};
const QList<QKeySequence> kExportVideo{QKeySequence(Qt::CTRL | Qt::Key_E)};
const QList<QKeySequence> kHelp{QKeySequence(Qt::Key_F1)};

}  // namespace

void bindKeys(QWidget& window, const QList<QKeySequence>& keys,
              const std::function<void()>& action) {
  for (const QKeySequence& key : keys) {
    auto* shortcut = new QShortcut(key, &window);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, &window, action);
  }
}

QList<ShortcutEntry> shortcutEntries() {
  return {{kGo, "Go: start a new system"},
          {kPause, "Pause, or resume after a pause"},
          {kClear, "Clear the trails"},
          {kSave, "Save the field as a picture"},
          {kSaveSystem, "Save system...: keep the system in a .velmora file"},
          {kOpenSystem, "Open system...: open a .velmora file, paused where it was saved"},
          {kExportVideo,
           "While paused: Export video...: film the timeline up to this moment as MP4, WebM "
           "or APNG"},
          {kHelp, "Show the help window"}};
}

QString keyNames(const ShortcutEntry& entry) {
  QStringList names;
  for (const QKeySequence& k : entry.keys) names << k.toString(QKeySequence::NativeText);
  return names.join(", ");
}

void installShortcuts(QWidget& window, Game& game, FormBinder& binder,
                      std::function<void()> savePicture, std::function<void()> showHelp) {
  FormBinder* b = &binder;
  auto clicks = [b](Control* c) { return [b, c] { b->click(*c); }; };
  bindKeys(window, kGo, clicks(game.Command2));
  bindKeys(window, kPause, clicks(game.Command5));
  bindKeys(window, kClear, clicks(game.Command4));
  bindKeys(window, kSave, std::move(savePicture));
  bindKeys(window, kHelp, std::move(showHelp));
  QWidget* w = &window;
  Game* g = &game;
  bindKeys(window, kSaveSystem, [w, g] { saveSystemAsked(w, *g); });
  bindKeys(window, kOpenSystem, [w, g] { openSystemAsked(w, *g); });
  bindKeys(window, kExportVideo, [w, g] { exportVideoAsked(w, *g); });
}

}  // namespace velmora::qt
