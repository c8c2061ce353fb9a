// Starting a system ("Go") and the blinking Go button of the start layout.
#pragma once

#include <cstdint>

namespace velmora {

// The first blinks of the start layout fit the start angular momentum (Text2) to
// the window.
inline constexpr int16_t kSpinFittingBlinks = 2;

class Game;

void Command2_Click(Game& g);
void Timero_Timer(Game& g);

// The layout that "Go" leaves, without building a system: the start pictures and
// presets gone, Pause and Clear shown, the fields that a running system fixes
// locked, the seed stopped. Opening a saved system starts from it.
void showRunningSystem(Game& g);
// The start layout again, as the program starts: the blink, the seed running unless
// frozen, the presets and "Go" shown, the fields that a running system fixes
// unlocked. The blink goes on as in a program started a moment ago, past its
// fitting of Text2, so the panel keeps what it holds.
void showStartLayout(Game& g);
// Notes the time of day as the system's start, as "Go" does, and runs the clock.
void startClockAfresh(Game& g);

}  // namespace velmora
