// A value typed into a field is applied when the field loses the focus. An action
// that reads the game (a step, a save) first takes the focus, as a click on a
// button does, so that it acts on what the player sees in the panel.
#pragma once

#include "state/game.h"

namespace velmora {

inline void applyTypedValue(Game& g) {
  g.fs7.focus(nullptr);
}

}  // namespace velmora
