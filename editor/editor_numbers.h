// The editor's readings of body numbers and its rounding of table values onto
// scroll bars and positions.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace velmora {

class Control;

// Val of the text rounded half to even; no value when it is not a table index.
std::optional<int16_t> bodyOf(std::string_view text);
// The whole text read strictly and rounded; no value when it is not a table index.
std::optional<int16_t> strictBodyOf(std::string_view text);

// Rounds half to even into lo..hi. `clamped` reports whether a bound was needed.
int roundInto(double value, int lo, int hi, bool* clamped = nullptr);

// Sets a scroll bar's value without raising its Change.
void setValueQuietly(Control& bar, int value);

}  // namespace velmora
