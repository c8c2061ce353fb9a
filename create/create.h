// Starting a system ("Go") and the blinking Go button of the start layout.
#pragma once

namespace velmora {

class Game;

void Command2_Click(Game& g);
void Timero_Timer(Game& g);

}  // namespace velmora
