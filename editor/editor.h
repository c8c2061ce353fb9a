// Pause and resume, body selection and display, body editing.
#pragma once

#include <cstdint>

namespace velmora {

class Game;

// Pause and resume.
void Command5_Click(Game& g);
void VivaVida(Game& g);

// Selection and display.
void Qui_Change(Game& g);
void Asgard(Game& g);
void SetBody(Game& g, int16_t Pln);
void Ocean(Game& g, int16_t Porp);
void Alive(Game& g);
void TiF_Timer(Game& g);
void La_Click(Game& g, int index);

// Editing.
void Opadd_Click(Game& g, int index);
void TXTp_LostFocus(Game& g, int index);
void Hsp_Change(Game& g, int index);
void Chon_Click(Game& g);
void Bifrost(Game& g);
// Chon's caption and colour for the body's on/off state.
void showOnOff(Game& g, int16_t body);
void Baldur(Game& g);

}  // namespace velmora
