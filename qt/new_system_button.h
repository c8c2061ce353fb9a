// "New system", in Go's column on the row of the presets: shown while a system
// exists, when Go and the presets are hidden and Pause has taken Go's place; a click
// does what Ctrl+N does. The window's own button: the game has no control
// for it, so the main window and every saved system stay as they are.
#pragma once

class QPushButton;
class QWidget;

namespace velmora {
class Game;
}

namespace velmora::qt {

// A button as wide as `go` (the widget of Command2), at its left, on the row of
// `preset` (the widget of a preset button).
QPushButton* makeNewSystemButton(Game& game, QPushButton& go, QWidget& preset);

}  // namespace velmora::qt
