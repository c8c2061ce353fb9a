// Clock and statistics, and the tally file that keeps the best score ever.
#pragma once

#include <string>

namespace velmora {

class Game;

void TiK_Timer(Game& g);

// Tally file.
// MkTally: writes a new tally line when the file cannot be read.
void MkTally(Game& g);
// upHI: saves the best score ever ("Top") to the tally file.
void upHI(Game& g);
// "Top"'s tip while its record could not be saved to `where`.
std::string unsavedRecordTip(const std::string& where);
// Load steps 4 to 7: make sure the file exists, read it, check it, show "Top".
void loadTally(Game& g);

}  // namespace velmora
