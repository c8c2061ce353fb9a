// The editor's readings of body numbers and its rounding of table values onto
// scroll bars and positions.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "state/editor_fields.h"
#include "world/world.h"

namespace velmora {

class Control;
class Game;

// Val of the text rounded half to even; no value when it is not a table index.
std::optional<int16_t> bodyOf(std::string_view text);
// The whole text read strictly and rounded; no value when it is not a table index.
std::optional<int16_t> strictBodyOf(std::string_view text);

// The body whose number stands in TXTOden; while that is outside the tables, the
// body the editor shows. Nothing before any body was shown.
std::optional<int16_t> displayedBody(const Game& g);

// The tables behind TXTp, in TxtpIndex order: X, Y, momentum X and Y, gravity.
std::array<Table<double>*, kTxtpCount> editedTables(World& w);
std::array<const Table<double>*, kTxtpCount> editedTables(const World& w);

// Rounds half to even into lo..hi. `clamped` reports whether a bound was needed.
int roundInto(double value, int lo, int hi, bool* clamped = nullptr);

// Sets a scroll bar's value without raising its Change.
void setValueQuietly(Control& bar, int value);

}  // namespace velmora
