// The field as the player sees it at x1: the surface (bodies and trails) with the
// sun's picture where the game shows it. The frames of a video and the picture
// `--render` writes; the script runner's `png` keeps to the bare surface.
#pragma once

#include <QImage>

namespace velmora {

class Game;

// Format_RGB32: every pixel a 0xffRRGGBB word, the size of the surface.
QImage fieldFrame(const Game& g);

}  // namespace velmora
