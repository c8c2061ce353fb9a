// Where the controls of the main window stand, in twips of the panel.
#pragma once

namespace velmora {

class Game;

// Gives every control of the main window its left, top, width and height. The
// panel is laid out in its own strip; the playing field lies beside it.
void layoutMainWindow(Game& g);

// The panel strip's extent in twips, for the face that shows it beside the field.
inline constexpr int kPanelWidth = 4800;
inline constexpr int kPanelHeight = 13320;

}  // namespace velmora
