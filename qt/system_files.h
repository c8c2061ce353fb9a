// Saved systems in the window: "Save system..." and "Open system..." through file
// dialogs that start in the documents folder and then in the folder last used,
// and a .velmora file dropped onto the window.
#pragma once

#include <QString>
#include <string>

class QWidget;

namespace velmora {
class Game;
}

namespace velmora::qt {

inline constexpr const char* kSystemFileFilter = "Velmora systems (*.velmora)";

// The folder the dialogs start in: the last one a system was saved to or opened
// from (kept with QSettings), else the documents folder.
QString systemFolder();
void rememberSystemFolder(const QString& filePath);

// Ask for a file, then save or open; a failure is told in a message box.
void saveSystemAsked(QWidget* parent, Game& game);
void openSystemAsked(QWidget* parent, Game& game);
// Opens `path` as the player's action: the game's message box on a refusal.
bool openSystemNow(Game& game, const QString& path);
// The same for a name given as the system's bytes (from the command line).
bool openSystemNow(Game& game, const std::string& localPath);

// Lets `window` take a .velmora file dropped onto it (from a file manager).
void acceptSystemFileDrops(QWidget& window, Game& game);

}  // namespace velmora::qt
