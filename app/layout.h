// Where the controls of the main window stand, in twips.
#pragma once

namespace velmora {

class Control;
class Game;

// Gives every control of the main window its left, top, width and height. The
// settings panel is laid out in its own strip (twips of the strip); controls held
// by a frame in twips of the frame; the intro texts and pictures stand on the
// playing field, in twips of the window like the bodies (x from 900). ImSun and
// Shark keep their sizes; the game places them on bodies.
void layoutMainWindow(Game& g);

// The caption laid beside the editor field TXTp(field): the label that names the
// field's value, whatever its index in Label6.
Control* editorCaptionOf(const Game& g, int field);

// The panel strip's extent in twips, for the face that shows it beside the field.
// Its height fits the default field (13320 - 300 twips).
inline constexpr int kPanelWidth = 5400;
inline constexpr int kPanelHeight = 13020;

}  // namespace velmora
