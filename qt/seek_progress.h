// Moves the game along its timeline from the window. A far move replays many ticks:
// meanwhile the cursor waits and, past a moment, a progress dialog shows how far.
#pragma once

#include <QWidget>
#include <optional>
#include <string>

namespace velmora {
class Game;
}

namespace velmora::qt {

// Shown once a move has taken this long and is not nearly done.
inline constexpr int kSeekProgressAfterMs = 400;

// The game's answer: nothing, or why it cannot move.
std::optional<std::string> seekShowingProgress(QWidget* parent, Game& game, long long tick);
std::optional<std::string> backShowingProgress(QWidget* parent, Game& game);

}  // namespace velmora::qt
