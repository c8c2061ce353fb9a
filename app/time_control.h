// The simulation timer's period at the chosen speed, and the single step a
// paused player takes.
#pragma once

namespace velmora {

class Game;

// The simulation timer's handler: as many ticks as the speed puts in this period.
void Ti_Period(Game& g);

// The clock timer's handler: the clock and the statistics, then the speed's
// "behind" let go once a second has passed without an overrun, however long the
// simulation's own period.
void TiK_Period(Game& g);

// Tells the speed whenever the simulation timer starts or stops, so that "behind"
// is cleared on a pause, on opening a system and at the end.
void followTheSimulation(Game& g);

// Whether the game is paused with the editor open, the only time a step is taken.
bool pausedForEditing(const Game& g);

// One tick, exactly as the timer would run it, then the editor shows its body
// again with the new values. The statistics stay as they were. False, and
// nothing happens, unless paused.
bool stepOnce(Game& g);

}  // namespace velmora
