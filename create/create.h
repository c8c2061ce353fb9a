// Starting a system ("Go") and the blinking Go button of the start layout.
#pragma once

namespace velmora {

class Game;

void Command2_Click(Game& g);
void Timero_Timer(Game& g);

// The layout that "Go" leaves, without building a system: the start pictures and
// presets gone, Pause and Clear shown, the fields that a running system fixes
// locked, the seed stopped. Opening a saved system starts from it.
void showRunningSystem(Game& g);
// Notes the time of day as the system's start, as "Go" does, and runs the clock.
void startClockAfresh(Game& g);

}  // namespace velmora
