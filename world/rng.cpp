#include "world/rng.h"

#include <bit>
#include <sstream>

namespace velmora {

void Rng::seed(double value) {
  if (value == 0) value = 0;  // -0 seeds like 0
  const auto bits = std::bit_cast<uint64_t>(value);
  std::seed_seq seq{static_cast<uint32_t>(bits), static_cast<uint32_t>(bits >> 32)};
  engine_.seed(seq);
  draws_ = 0;
}

std::string Rng::state() const {
  std::ostringstream out;
  out << engine_;
  return out.str();
}

bool Rng::restore(const std::string& state, uint64_t draws) {
  std::istringstream in(state);
  std::mt19937 engine;
  in >> engine;
  if (in.fail()) return false;
  in >> std::ws;
  if (!in.eof()) return false;
  engine_ = engine;
  draws_ = draws;
  return true;
}

}  // namespace velmora
