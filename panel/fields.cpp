#include <cstdint>
#include "panel/panel.h"

#include "app/game.h"

namespace velmora {

// Not built yet.
void Text1_LostFocus(Game&) {}
void Text2_LostFocus(Game&) {}
void Text4_LostFocus(Game&) {}
void Text4_DblClick(Game&) {}
void Text5_LostFocus(Game&) {}
void Text7_LostFocus(Game&) {}
void TXg_LostFocus(Game&, int) {}
void TXn_LostFocus(Game&) {}
void TXn_DblClick(Game&) {}
void TXw_LostFocus(Game&, int) {}
void TXw_DblClick(Game&, int) {}
void TXTrange_LostFocus(Game&) {}
void CHgr_Click(Game&) {}

}  // namespace velmora
