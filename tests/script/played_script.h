// A script played through the runner in memory: its exit status and what it wrote.
#pragma once

#include <sstream>
#include <string>

#include "script/runner.h"
#include "state/tally_storage.h"

namespace velmora::testing {

struct PlayedScript {
  int status;
  std::string out;
  std::string err;
};

inline PlayedScript play(const std::string& script) {
  MemoryTallyStorage tally;
  std::ostringstream out;
  std::ostringstream err;
  const int status = runScript(script, tally, out, err);
  return {status, out.str(), err.str()};
}

}  // namespace velmora::testing
