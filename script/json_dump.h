// The whole state of a game as JSON: the settings and counters by name, the bodies
// 0 to PlanetCount, and every control of both windows with its properties.
#pragma once

#include <iosfwd>

namespace velmora {

class Game;

void writeJsonDump(const Game& game, std::ostream& out);

}  // namespace velmora
