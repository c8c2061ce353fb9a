#include "world/rng.h"

#include <bit>

namespace velmora {

void Rng::seed(double value) {
  if (value == 0) value = 0;  // -0 seeds like 0
  const auto bits = std::bit_cast<uint64_t>(value);
  std::seed_seq seq{static_cast<uint32_t>(bits), static_cast<uint32_t>(bits >> 32)};
  engine_.seed(seq);
  draws_ = 0;
}

}  // namespace velmora
