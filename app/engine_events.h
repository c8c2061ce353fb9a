// The events around the simulation: the tick, the running seed, the border option,
// automatic clearing, the "Clear" button and the disturbance mark.
#pragma once

namespace velmora {

class Game;

void Ti_Timer(Game& g);
void Tr_Timer(Game& g);
void Och_Click(Game& g, int index);
void Tiball_Timer(Game& g);
void Command4_Click(Game& g);
// KlinK: marks a disturbance (the stability clock restarts).
void KlinK(Game& g);

}  // namespace velmora
