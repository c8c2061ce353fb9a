// The settings panel: its fields, the clearing, seed and sun options, the presets.
#pragma once

namespace velmora {

class Game;

// Settings fields.
void Text1_LostFocus(Game& g);
void Text2_LostFocus(Game& g);
void Text4_LostFocus(Game& g);
void Text4_DblClick(Game& g);
void Text5_LostFocus(Game& g);
void Text7_LostFocus(Game& g);
void TXg_LostFocus(Game& g, int index);
void TXn_LostFocus(Game& g);
void TXn_DblClick(Game& g);
void TXw_LostFocus(Game& g, int index);
void TXw_DblClick(Game& g, int index);
void TXTrange_LostFocus(Game& g);
void CHgr_Click(Game& g);

// Clearing, seed and sun options.
void CHr_Click(Game& g);
void TXref_LostFocus(Game& g);
void CHran_Click(Game& g);
void TXran_LostFocus(Game& g);
void CHsol_Click(Game& g);

// Presets.
void CDp_Click(Game& g, int index);

}  // namespace velmora
