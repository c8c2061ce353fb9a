// The main window's keys: Go, Pause, Clear, save the picture and the help window.
// A key acts as a click on its control, and only while that control is shown and
// enabled.
#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>
#include <functional>

class QWidget;

namespace velmora {
class Control;
class Game;
}  // namespace velmora

namespace velmora::qt {

class FormBinder;

struct ShortcutEntry {
  QList<QKeySequence> keys;
  QString what;
};

// The keys and what they do, as the help window lists them.
QList<ShortcutEntry> shortcutEntries();

// The keys of an entry as the help window and the man page name them: "Ctrl+G, F5".
QString keyNames(const ShortcutEntry& entry);

// Every one of `keys` runs `action` while `window` is active.
void bindKeys(QWidget& window, const QList<QKeySequence>& keys,
              const std::function<void()>& action);

// Installs the keys on `window`. `savePicture` and `showHelp` are the face's own
// commands, not controls of the game.
void installShortcuts(QWidget& window, Game& game, FormBinder& binder,
                      std::function<void()> savePicture, std::function<void()> showHelp);

}  // namespace velmora::qt
