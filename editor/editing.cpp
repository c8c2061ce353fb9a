#include <cstdint>
#include "editor/editor.h"

#include "app/game.h"

namespace velmora {

// Not built yet.
void Opadd_Click(Game&, int) {}
void TXTp_LostFocus(Game&, int) {}
void Hsp_Change(Game&, int) {}
void Chon_Click(Game&) {}
void Bifrost(Game&) {}
void Baldur(Game&) {}

}  // namespace velmora
