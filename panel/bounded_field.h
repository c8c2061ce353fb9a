// The pattern of the bounded fields (TXg(2), TXn, TXTrange, TXran): the first
// bound, then the second, each judged on the number of the text as it stands then;
// a number within both leaves the text exactly as typed.
#pragma once

namespace velmora {

class Control;

struct Bound {
  double value;
  bool lower;  // true: numbers strictly below it are beyond; false: strictly above
};

inline constexpr Bound lowerBound(double value) {
  return {value, true};
}
inline constexpr Bound upperBound(double value) {
  return {value, false};
}

// Replaces the text by the text of the bound when its number lies beyond it.
void applyBound(Control& field, Bound bound);
void applyBounds(Control& field, Bound first, Bound second);

}  // namespace velmora
