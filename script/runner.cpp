#include "script/runner.h"

#include <ostream>

namespace velmora {

// Not built yet.
int runScript(const std::string&, TallyStorage&, std::ostream&, std::ostream& err) {
  err << "the script runner is not built yet\n";
  return 2;
}

int runScriptFile(const std::string& path, TallyStorage& tally, std::ostream& out,
                  std::ostream& err) {
  return runScript(path, tally, out, err);
}

}  // namespace velmora
