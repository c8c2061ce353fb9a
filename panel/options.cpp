#include <cstdint>
#include "panel/panel.h"

#include "app/game.h"

namespace velmora {

// Not built yet.
void CHr_Click(Game&) {}
void TXref_LostFocus(Game&) {}
void CHran_Click(Game&) {}
void TXran_LostFocus(Game&) {}
void CHsol_Click(Game&) {}

}  // namespace velmora
