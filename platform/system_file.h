// Saved systems on disk. Opening reads a file of a sane size, checks all of it and
// only then touches the game; saving goes through a save file, so a full disk or a
// read-only folder leaves any earlier file whole. Both tell the player in one
// message box what went wrong, naming the file.
#pragma once

#include <optional>
#include <string>

namespace velmora {

class Game;

inline constexpr const char* kOpenSystemTitle = "Open system";
inline constexpr const char* kSaveSystemTitle = "Save system";
// Larger than any system: 1000 bodies and a big field's picture take a few MB.
inline constexpr long long kMaxSystemFileBytes = 32LL * 1024 * 1024;

// The message for the player, naming the file; nothing when it worked.
std::optional<std::string> saveSystemFile(const Game& g, const std::string& path);
std::optional<std::string> openSystemFile(Game& g, const std::string& path);

// As above, showing the message through the game's host; true when it worked.
bool saveSystemTelling(Game& g, const std::string& path);
bool openSystemTelling(Game& g, const std::string& path);

}  // namespace velmora
