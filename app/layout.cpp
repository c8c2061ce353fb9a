#include "app/layout.h"

#include "app/game.h"

namespace velmora {

// Not laid out yet.
void layoutMainWindow(Game&) {}

}  // namespace velmora
