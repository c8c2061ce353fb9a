// The planet count as the panel holds it in TXn. The tables hold bodies 0..999,
// so no count read from TXn, or copied into it, goes beyond 999.
#pragma once

#include <cstdint>
#include <string_view>

namespace velmora {

class Game;

inline constexpr int kMaxPlanetCount = 999;

// The absolute number of the text, limited to 999, rounded half to even.
int16_t planetCountOf(std::string_view text);

// TXn takes the text of TXw(0); a text whose number lies beyond 999 either way
// arrives as "999".
void copyPlanetCountEntry(Game& g);

}  // namespace velmora
