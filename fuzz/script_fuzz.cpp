// The script runner: any script text ends with status 0 or 2, never a crash or hang.
// The harness bounds the virtual time an input may wait (and the ticks a preview
// runs ahead) and drops the lines that would write files; the runner sees everything
// else as written.
#include <cstdint>
#include <sstream>
#include <string>

#include "fuzz_check.h"
#include "script/runner.h"

namespace {

constexpr long long kMaxWaitPerInput = 500;  // ms of virtual time
constexpr long long kMaxPreviewTicks = 40;   // ticks a preview runs ahead, at most

// The digits after "ACTION ", when the line is that action with a plain number.
bool numberAfter(const std::string& line, const std::string& action, long long& value) {
  if (line.rfind(action + " ", 0) != 0) return false;
  const std::string rest = line.substr(action.size() + 1);
  if (rest.empty() || rest.size() > 12) return false;
  value = 0;
  for (const char c : rest) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return true;
}

std::string bounded(const std::string& script) {
  std::istringstream lines(script);
  std::string out;
  long long waited = 0;
  for (std::string line; std::getline(lines, line);) {
    std::string bare = line;
    if (!bare.empty() && bare.back() == '\r') bare.pop_back();
    if (bare.rfind("dump ", 0) == 0 || bare.rfind("png ", 0) == 0) continue;
    long long ms = 0;
    if (bare.rfind("wait ", 0) == 0) {
      if (numberAfter(bare, "wait", ms)) {
        ms = std::min(ms, kMaxWaitPerInput - waited);
        waited += ms;
        line = "wait " + std::to_string(ms);
      }
      // Anything else after "wait" is a usage error, which the runner must report.
    }
    // A preview runs ticks as a wait does; 0 stays, a usage error.
    if (numberAfter(bare, "preview", ms) && ms > kMaxPreviewTicks) {
      line = "preview " + std::to_string(kMaxPreviewTicks);
    }
    out += line;
    out += '\n';
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string script = bounded(std::string(reinterpret_cast<const char*>(data), size));
  velmora::MemoryTallyStorage tally;
  std::ostringstream out, err;
  const int status = velmora::runScript(script, tally, out, err);
  FUZZ_CHECK(status == 0 || status == 2);
  // A run that stops says why on the line it stopped at.
  if (status == 2) FUZZ_CHECK(!err.str().empty());
  return 0;
}
