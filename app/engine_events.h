// The events around the simulation: the tick, the running seed, the border option,
// automatic clearing and the "Clear" button.
#pragma once

namespace velmora {

class Game;

void Ti_Timer(Game& g);
void Tr_Timer(Game& g);
void Och_Click(Game& g, int index);
void Tiball_Timer(Game& g);
void Command4_Click(Game& g);

}  // namespace velmora
