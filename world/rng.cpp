#include "world/rng.h"

#include <algorithm>
#include <bit>
#include <sstream>
#include <vector>

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

namespace {

// A token of decimal digits as a number of at most `most`; nothing otherwise.
std::optional<uint64_t> wholeUpTo(const std::string& token, uint64_t most) {
  uint64_t v = 0;
  for (const char c : token) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + static_cast<uint64_t>(c - '0');
    if (v > most) return std::nullopt;
  }
  return v;
}

}  // namespace

std::optional<std::string> Rng::stateFault(const std::string& state) {
  constexpr size_t kWords = std::mt19937::state_size;  // then the index
  std::vector<uint32_t> words;
  std::istringstream in(state);
  std::string token;
  while (words.size() < kWords && in >> token) {
    const auto word = wholeUpTo(token, UINT32_MAX);
    if (!word) {
      return "word " + std::to_string(words.size()) + " is not a whole number 0.." +
             std::to_string(UINT32_MAX);
    }
    words.push_back(static_cast<uint32_t>(*word));
  }
  if (words.size() < kWords || !(in >> token)) {
    return "has " + std::to_string(words.size()) + " numbers, not " + std::to_string(kWords + 1);
  }
  if (!wholeUpTo(token, kWords)) return "index is not a whole number 0.." + std::to_string(kWords);
  if (in >> token) return "has more than " + std::to_string(kWords + 1) + " numbers";
  // The next twist reads the top bit of word 0 and all of words 1..623: when these are
  // all zero the generator draws nothing but zeros.
  if ((words[0] & 0x80000000u) == 0 &&
      std::all_of(words.begin() + 1, words.end(), [](uint32_t w) { return w == 0; })) {
    return std::string("is all zero");
  }
  return std::nullopt;
}

bool Rng::restore(const std::string& state, uint64_t draws) {
  if (stateFault(state)) return false;
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
