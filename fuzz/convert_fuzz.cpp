// Number conversions: any bytes read as a finite number; a text of a number reads
// back to the same 15 significant digits; a whole number out of range is reported.
#include <cfenv>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string_view>

#include "form/convert.h"
#include "fuzz_check.h"

namespace {

using namespace velmora;

template <typename Int>
void checkWhole(double x, std::optional<Int> got) {
  // Reference: the hardware's round-to-nearest-even, which wholeNumber must match.
  if (!std::isfinite(x)) {
    FUZZ_CHECK(!got);
    return;
  }
  const double r = std::nearbyint(x);
  const bool fits = r >= std::numeric_limits<Int>::min() && r <= std::numeric_limits<Int>::max();
  FUZZ_CHECK(got.has_value() == fits);
  if (got) FUZZ_CHECK(static_cast<double>(*got) == r);
}

void checkRoundTrip(double x) {
  if (!std::isfinite(x)) return;
  const std::string text = textOf(x);
  const double back = numberOf(text);
  FUZZ_CHECK(strictNumberOf(text) == back);
  FUZZ_CHECK(std::isfinite(back));
  if (x == 0) {
    FUZZ_CHECK(back == 0);
    return;
  }
  if (std::fabs(x) < DBL_MIN) {
    // Subnormals hold fewer than 15 digits; they read back as 0 or near themselves.
    FUZZ_CHECK(std::fabs(back - x) <= DBL_MIN);
    return;
  }
  // Fifteen digits survive a trip through a double, so the text is stable...
  FUZZ_CHECK(textOf(back) == text);
  // ...and within half a unit of the fifteenth digit, plus the rounding of the read.
  FUZZ_CHECK(std::fabs(back - x) <= (5e-15 + 2 * DBL_EPSILON) * std::fabs(x));
  FUZZ_CHECK(std::signbit(back) == std::signbit(x));
  FUZZ_CHECK(text.size() <= 22);
  // The script runner's form reads back exactly.
  FUZZ_CHECK(numberOf(roundTripText(x)) == x);
  const std::string str = strOf(x);
  FUZZ_CHECK(numberOf(str) == back);
  FUZZ_CHECK((str[0] == ' ') == !std::signbit(x));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::fesetround(FE_TONEAREST);
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  const double n = numberOf(text);
  FUZZ_CHECK(std::isfinite(n));
  if (const auto strict = strictNumberOf(text)) FUZZ_CHECK(*strict == n);
  checkWhole<int16_t>(n, wholeNumber16(n));
  checkWhole<int32_t>(n, wholeNumber32(n));
  checkRoundTrip(n);

  // The same bytes as a raw double: every bit pattern, NaN and infinities included.
  if (size >= sizeof(double)) {
    double x = 0;
    std::memcpy(&x, data, sizeof x);
    checkWhole<int16_t>(x, wholeNumber16(x));
    checkWhole<int32_t>(x, wholeNumber32(x));
    checkRoundTrip(x);
    (void)textOf(x);
  }
  return 0;
}
