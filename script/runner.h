// The headless face: plays a script of player actions against the game in virtual
// time and prints what it is asked to.
#pragma once

#include <iosfwd>
#include <string>

#include "state/tally_storage.h"

namespace velmora {

// Plays `scriptText` line by line. Returns the exit status: 0 at the end of the
// script (or when the game ends the program), 2 when a line cannot be understood.
int runScript(const std::string& scriptText, TallyStorage& tally, std::ostream& out,
              std::ostream& err);

// Reads FILE and plays it; a file that cannot be read gives status 2.
int runScriptFile(const std::string& path, TallyStorage& tally, std::ostream& out,
                  std::ostream& err);

}  // namespace velmora
