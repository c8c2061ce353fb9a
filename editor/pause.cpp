#include <cstdint>
#include "editor/editor.h"

#include "app/game.h"

namespace velmora {

// Not built yet.
void Command5_Click(Game&) {}
void VivaVida(Game&) {}

}  // namespace velmora
