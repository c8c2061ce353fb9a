#include "editor/editor.h"
#include <cstdint>

#include "app/game.h"

namespace velmora {

// Not built yet.
void Command5_Click(Game&) {}
void VivaVida(Game&) {}

}  // namespace velmora
