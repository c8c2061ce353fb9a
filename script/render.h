// Renders one system to a PNG without a window: the panel set as a player would
// set it, "Go", then a number of simulation ticks in virtual time. Or a saved
// system opened and resumed for that number of ticks.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "state/tally_storage.h"

namespace velmora {

struct RenderRequest {
  std::string path;               // the PNG to write
  int preset = 0;                 // 1..6: that preset button first; 0: none
  std::optional<long long> seed;  // frozen seed, typed into the seed field
  bool spin = false;              // the spin check box
  long long ticks = 2000;         // ticks of the simulation timer
  std::string open;               // a saved system to resume instead of "Go"; empty: none
};

// Returns the exit status: 0 when the picture was written, 2 on a bad request or
// a file that cannot be written (the reason goes to `err`).
int renderPicture(const RenderRequest& request, TallyStorage& tally, std::ostream& out,
                  std::ostream& err);

}  // namespace velmora
