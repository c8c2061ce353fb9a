// Number <-> text conversions used by every field of the game.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// Number of a text: the leading part that forms a decimal number (leading blanks
// skipped, optional sign, digits with at most one full stop, optional exponent
// "E"/"e" with optional sign and digits). A text that does not begin with a number
// gives 0. Magnitudes beyond the double range saturate to +-DBL_MAX, so the result
// is always finite.
double numberOf(std::string_view text);

// Strict number: the whole text (surrounding blanks allowed) must be a number;
// otherwise there is no value.
std::optional<double> strictNumberOf(std::string_view text);

// Whole numbers: round to nearest, a half going to the even neighbour. A result
// outside the type's range (or a NaN) has no value: it is reported, never wrapped.
std::optional<int16_t> wholeNumber16(double value);
std::optional<int32_t> wholeNumber32(double value);

// Text of a number: whole numbers as plain integers, others in shortest form with
// at most 15 significant digits and a leading zero ("0.25"); magnitudes below
// 0.0001 or of 1E+15 and above in exponent form ("1E-06", "1E+15").
std::string textOf(double value);

// The Str form: textOf with one leading blank when the number is not negative.
std::string strOf(double value);

// Shortest text that reads back to the same double ("0.1", "1e-06", "150"): the
// form the script runner prints.
std::string roundTripText(double value);

}  // namespace velmora
