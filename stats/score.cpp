#include "stats/score.h"

#include <cmath>

namespace velmora {

double truncatedScore(double score) {
  // Applied in sequence, each rule seeing the result of the one before.
  if (score < 1) score = std::floor(score * 10000) / 10000;
  if (score > 1 && score < 10) score = std::floor(score * 100) / 100;
  if (score > 10) score = std::floor(score);
  return score;
}

}  // namespace velmora
