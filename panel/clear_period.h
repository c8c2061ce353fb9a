// The period of the clearing timer Tiball from the clear time in TXref.
#pragma once

namespace velmora {

class Game;

// Period = number of TXref x 1000 ms, rounded half to even. A period that a timer
// cannot hold (below 0 or above 65535 ms) leaves the previous one.
void setClearPeriod(Game& g);

}  // namespace velmora
