// The tally file that keeps the best score ever between runs.
#include <string>

#include "form/convert.h"
#include "state/game.h"
#include "stats/stats.h"
#include "stats/tally_line.h"

namespace velmora {

void MkTally(Game& g) {
  if (!g.tally.read()) g.tally.write(kNewTallyLine);
}

// A failed save leaves the record in memory, and the next raise tries again;
// "Top"'s tip tells the player meanwhile.
void upHI(Game& g) {
  const bool saved = g.tally.write(tallyLine(g.world.TopScore));
  g.Label5->setToolTip(saved ? std::string() : unsavedRecordTip(g.tally.where()));
}

std::string unsavedRecordTip(const std::string& where) {
  return "Not saved: the record could not be written to " + where +
         ". It is kept while the game runs and saved at the next new record.";
}

void loadTally(Game& g) {
  World& w = g.world;
  MkTally(g);
  const std::optional<std::string> contents = g.tally.read();
  const std::optional<TallyRecord> record = contents ? parseTallyLine(*contents) : std::nullopt;
  if (record) {
    w.TopScore = record->topScore;
    w.TallyValue2 = record->check;
  } else {
    // Unreadable: start from 1; the next new top score rewrites the file whole.
    w.TopScore = 1;
    w.TallyValue2 = tallyCheck(1);
  }
  if (tallyCheck(w.TopScore) != w.TallyValue2) w.TopScore = 1;
  g.Label5->setCaption(textOf(w.TopScore));
}

}  // namespace velmora
