// The settings panel: its fields, the clearing, seed and sun options, the presets.
#pragma once

#include <string>

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

// The texts of Text1, Text2, Text4, Text5 and Text7 as they stand become the ones
// an entry that cannot be stored falls back to. Run once the window is built.
void rememberPanelTexts(Game& g);

// The copies between the planet radius (Text1) and the bonding range (Text5) that
// the editor's captions offer: "Core" (La(2)) gives Text5 the text of Text1,
// "Radius" (La(3)) gives Text1 the text of Text5. Texts only; the settings follow
// when the field loses focus.
void copyRadiusToCore(Game& g);
void copyCoreToRadius(Game& g);

// Clearing, seed and sun options.
void CHr_Click(Game& g);
void TXref_LostFocus(Game& g);
void CHran_Click(Game& g);
void TXran_LostFocus(Game& g);
void CHsol_Click(Game& g);
// The sun's picture centred on body 0 and shown while CHsol is checked, else hidden.
void showSunIfChecked(Game& g);

// Presets.
void CDp_Click(Game& g, int index);
// What preset `index` sets up: the text it writes into Label11.
std::string presetExplanation(int index);

}  // namespace velmora
