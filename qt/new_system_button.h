// "New system", where "Go" stood: shown while a system exists (Go is hidden then);
// a click does what Ctrl+N does. The window's own button: the game has no control
// for it, so the main window and every saved system stay as they are.
#pragma once

class QPushButton;

namespace velmora {
class Game;
}

namespace velmora::qt {

// A button beside `go` (the widget of Command2), in its place and size.
QPushButton* makeNewSystemButton(Game& game, QPushButton& go);

}  // namespace velmora::qt
