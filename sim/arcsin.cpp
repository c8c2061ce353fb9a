#include "sim/arcsin.h"

#include <cmath>

namespace velmora::sim {

double ArcSin(double x) {
  if (std::fabs(x) == 1) return x > 0 ? kQuarterTurn : -kQuarterTurn;
  return std::atan(x / std::sqrt(1 - x * x));
}

}  // namespace velmora::sim
