// The field as the player sees it at x1: the surface (bodies and trails) with the
// sun's picture where the game shows it. The frames of a video and the picture
// `--render` writes; the script runner's `png` keeps to the bare surface.
#pragma once

#include <QImage>

namespace velmora {

class Game;

// Format_RGB32: every pixel a 0xffRRGGBB word, the size of the surface.
QImage fieldFrame(const Game& g);

// The same for a moment opened from a keyframe, which stands paused with the editor
// showing a body: the field as it looks while it plays, with the fixed sun's
// picture where opening the moment put it (on the sun).
QImage playingFieldFrame(const Game& g);

}  // namespace velmora
