// "New system": back to the start layout as the program starts, with the panel as
// the player left it and the best score ever kept, ready for another "Go".
#pragma once

namespace velmora {

class Game;

// False, and nothing happens, before "Go" has built a system (or a saved one was
// opened): the start layout already stands.
bool newSystem(Game& g);

}  // namespace velmora
