// The score of one clock tick and how it is cut to a few decimals.
#pragma once

namespace velmora {

// Below 1: four decimals; between 1 and 10: two; above 10: whole. Exactly 1 and
// exactly 10 stay as they are. The cut always rounds down.
double truncatedScore(double score);

}  // namespace velmora
