// Pause and resume, body selection and display, body editing.
#pragma once

#include <cstdint>

namespace velmora {

class Game;

// Pause and resume.
void Command5_Click(Game& g);
// VivaVida: shows in LaVida how many bodies are off ("dead") and how many on.
void VivaVida(Game& g);

// Selection and display.
void Qui_Change(Game& g);
// Asgard: shows the body numbered in TXTOden (type, fields, marker, on/off).
void Asgard(Game& g);
// SetBody: clamps body Pln's position and momentum and writes its five fields.
void SetBody(Game& g, int16_t Pln);
// Ocean: centres the marker Shark on body Porp.
void Ocean(Game& g, int16_t Porp);
// Alive: with "live only" checked, moves the selector past a body that is off.
void Alive(Game& g);
void TiF_Timer(Game& g);
void La_Click(Game& g, int index);

// Editing.
// A typed momentum beyond this, either way, is corrected to it before it is stored.
inline constexpr int kTypedMomentumLimit = 200;
void Opadd_Click(Game& g, int index);
void TXTp_LostFocus(Game& g, int index);
void Hsp_Change(Game& g, int index);
void Chon_Click(Game& g);
// Bifrost: stores the five typed fields into the selected body's tables.
void Bifrost(Game& g);
// Chon's caption and colour for the body's on/off state.
void showOnOff(Game& g, int16_t body);
// Baldur: sets the scroll bars Hsp from the selected body's tables.
void Baldur(Game& g);

}  // namespace velmora
