// Clock and statistics, and the tally file that keeps the best score ever.
#pragma once

namespace velmora {

class Game;

void TiK_Timer(Game& g);

// Tally file.
void MkTally(Game& g);
void upHI(Game& g);
// Load steps 4 to 7: make sure the file exists, read it, check it, show "Top".
void loadTally(Game& g);

}  // namespace velmora
