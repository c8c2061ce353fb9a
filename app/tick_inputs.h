// What one tick reads from the controls, read the same way for the live game and
// for a copy of it that runs ahead.
#pragma once

namespace velmora {

namespace sim {
struct TickInputs;  // sim/tick.h, which the callers include
}

class Game;

// The exponent typed in TXg(2), which every tick takes anew.
double tickExponent(const Game& g);
sim::TickInputs tickInputsOf(const Game& g);

}  // namespace velmora
