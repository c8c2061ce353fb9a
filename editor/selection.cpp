#include <cstdint>
#include "editor/editor.h"

#include "app/game.h"

namespace velmora {

// Not built yet.
void Qui_Change(Game&) {}
void Asgard(Game&) {}
void SetBody(Game&, int16_t) {}
void Ocean(Game&, int16_t) {}
void Alive(Game&) {}
void TiF_Timer(Game&) {}
void La_Click(Game&, int) {}

}  // namespace velmora
