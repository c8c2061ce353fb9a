// The one random generator of the game: std::mt19937, whose sequence the C++
// standard fixes, so a frozen seed replays the same run on every build. Each draw
// is the single-precision r = (u >> 8) / 2^24 in [0, 1).
#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <string>

namespace velmora {

class Rng {
 public:
  Rng() { seed(0.0); }
  // Seeds from any number the seed field holds (negative, fractional included).
  void seed(double value);
  float next() {
    ++draws_;
    return static_cast<float>(engine_() >> 8) * (1.0f / 16777216.0f);
  }
  // Draws made since the last seed: lets tests count draws per tick.
  uint64_t draws() const { return draws_; }

  // The generator's whole state as the standard library writes it, so a saved
  // system draws on exactly where it stopped; `restore` takes such a text and the
  // draw count, and changes nothing (answering false) when the text is not one.
  std::string state() const;
  bool restore(const std::string& state, uint64_t draws);
  // What makes `state` no state of this generator, as a phrase naming the part
  // ("word 3 is not a whole number 0..4294967295", "index 700 is outside 0..624",
  // "is all zero"); nothing for a state it can take. The standard library reads
  // any text of numbers into its 64-bit words and trusts the index, so this is
  // checked first.
  static std::optional<std::string> stateFault(const std::string& state);

 private:
  std::mt19937 engine_;
  uint64_t draws_ = 0;
};

}  // namespace velmora
