// The tally file reader: any contents give a record of three finite numbers or
// nothing, and the game's load steps take a finite top score from them (1 when
// unreadable or when the check does not match).
#include <cmath>
#include <cstdint>
#include <string>

#include "form/convert.h"
#include "fuzz_check.h"
#include "quiet_host.h"
#include "state/game.h"
#include "stats/score.h"
#include "stats/stats.h"
#include "stats/tally_line.h"

namespace {

using namespace velmora;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string contents(reinterpret_cast<const char*>(data), size);
  const std::optional<TallyRecord> record = parseTallyLine(contents);
  if (record) {
    FUZZ_CHECK(std::isfinite(record->topScore));
    FUZZ_CHECK(std::isfinite(record->check));
    FUZZ_CHECK(std::isfinite(record->unused));
    // Any score the clock can reach (truncated, below 1E+15: a run lasts hours) is
    // written as a line that reads back to the same score with a matching check.
    const double score = truncatedScore(std::fabs(record->topScore));
    if (score < 1e15) {
      const auto again = parseTallyLine(tallyLine(score));
      FUZZ_CHECK(again.has_value());
      FUZZ_CHECK(again->topScore == score);
      FUZZ_CHECK(again->check == tallyCheck(score));
    }
  }

  // One game for every input: its load steps read the tally file anew.
  static VirtualClock clock;
  static QuietHost host;
  static MemoryTallyStorage tally;
  static Game game(clock, host, tally);
  tally.contents = contents;
  loadTally(game);
  const double top = game.world.TopScore;
  FUZZ_CHECK(std::isfinite(top));
  const bool accepted = record && tallyCheck(record->topScore) == record->check;
  FUZZ_CHECK(top == (accepted ? record->topScore : 1.0));
  FUZZ_CHECK(game.Label5->caption() == textOf(top));
  return 0;
}
