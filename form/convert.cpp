#include "form/convert.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <system_error>

namespace velmora {

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

size_t skipBlanks(std::string_view text, size_t pos) {
  while (pos < text.size() && isBlank(text[pos])) ++pos;
  return pos;
}

struct Scanned {
  size_t end = 0;  // one past the last character of the number; 0 when there is none
  double value = 0;
};

// Decimal exponent of the first significant digit of [digits][.digits] times 10^exponent,
// used only to tell an overflow from an underflow, so saturating arithmetic is enough.
long long leadingExponent(std::string_view mantissa, long long exponent) {
  long long intDigits = 0;
  size_t i = 0;
  while (i < mantissa.size() && mantissa[i] == '0') ++i;
  while (i < mantissa.size() && isDigit(mantissa[i])) ++intDigits, ++i;
  if (intDigits > 0) return intDigits - 1 + exponent;
  if (i < mantissa.size() && mantissa[i] == '.') ++i;
  long long zeros = 0;
  while (i < mantissa.size() && mantissa[i] == '0') ++zeros, ++i;
  return exponent - zeros - 1;
}

// Scans a number starting at pos (no blanks skipped here).
Scanned scanNumber(std::string_view text, size_t pos) {
  Scanned out;
  size_t i = pos;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const size_t mantStart = i;
  size_t digits = 0;
  while (i < text.size() && isDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && isDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return out;
  const size_t mantEnd = i;

  // An exponent counts only when it has digits: "1E" and "1E+" are just 1.
  long long exponent = 0;
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
    size_t j = i + 1;
    bool expNegative = false;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) expNegative = text[j++] == '-';
    if (j < text.size() && isDigit(text[j])) {
      while (j < text.size() && isDigit(text[j])) {
        if (exponent < 1'000'000'000) exponent = exponent * 10 + (text[j] - '0');
        ++j;
      }
      if (expNegative) exponent = -exponent;
      i = j;
    }
  }
  out.end = i;

  // from_chars refuses a leading '+', so it is given the text after the sign.
  double value = 0;
  const char* first = text.data() + mantStart;
  const char* last = text.data() + i;
  auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    const long long lead = leadingExponent(text.substr(mantStart, mantEnd - mantStart), exponent);
    value = lead > 0 ? DBL_MAX : 0.0;
  } else if (ec != std::errc() || ptr != last) {
    value = 0;  // cannot happen for a scanned number; keep the result defined anyway
  }
  if (std::isinf(value)) value = DBL_MAX;
  out.value = negative ? -value : value;
  return out;
}

std::string exponentForm(bool negative, const std::string& digits, int exponent) {
  std::string s = negative ? "-" : "";
  s += digits[0];
  if (digits.size() > 1) {
    s += '.';
    s.append(digits, 1);
  }
  s += 'E';
  s += exponent < 0 ? '-' : '+';
  const int magnitude = std::abs(exponent);
  if (magnitude < 10) s += '0';
  s += std::to_string(magnitude);
  return s;
}

}  // namespace

double numberOf(std::string_view text) {
  return scanNumber(text, skipBlanks(text, 0)).value;
}

std::optional<double> strictNumberOf(std::string_view text) {
  const Scanned n = scanNumber(text, skipBlanks(text, 0));
  if (n.end == 0) return std::nullopt;
  if (skipBlanks(text, n.end) != text.size()) return std::nullopt;
  return n.value;
}

namespace {

// Ties to even without relying on the floating-point rounding mode.
std::optional<double> roundHalfEven(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const double low = std::floor(value);
  const double frac = value - low;  // exact: low and value are within one unit
  if (frac < 0.5) return low;
  if (frac > 0.5) return low + 1;
  return std::fmod(low, 2.0) == 0 ? low : low + 1;
}

template <typename Int>
std::optional<Int> wholeNumber(double value) {
  const std::optional<double> r = roundHalfEven(value);
  if (!r) return std::nullopt;
  if (*r < static_cast<double>(std::numeric_limits<Int>::min()) ||
      *r > static_cast<double>(std::numeric_limits<Int>::max()))
    return std::nullopt;
  return static_cast<Int>(*r);
}

}  // namespace

std::optional<int16_t> wholeNumber16(double value) {
  return wholeNumber<int16_t>(value);
}
std::optional<int32_t> wholeNumber32(double value) {
  return wholeNumber<int32_t>(value);
}

std::string textOf(double value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value < 0 ? "-Infinity" : "Infinity";
  if (value == 0) return "0";

  // Fifteen significant digits, correctly rounded: "d.dddddddddddddde+XX".
  char buf[64];
  const auto res =
      std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 14);
  const std::string_view sci(buf, static_cast<size_t>(res.ptr - buf));
  const size_t e = sci.find('e');
  std::string digits;
  for (size_t i = 0; i < e; ++i)
    if (sci[i] != '.') digits += sci[i];
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  int exponent = 0;
  const char* expFirst = sci.data() + e + 1;
  if (*expFirst == '+') ++expFirst;  // from_chars takes '-' but not '+'
  std::from_chars(expFirst, sci.data() + sci.size(), exponent);

  const bool negative = value < 0;
  if (exponent < -4 || exponent >= 15) return exponentForm(negative, digits, exponent);

  std::string s = negative ? "-" : "";
  if (exponent < 0) {
    s += "0.";
    s.append(static_cast<size_t>(-exponent - 1), '0');
    s += digits;
    return s;
  }
  const size_t intDigits = static_cast<size_t>(exponent) + 1;
  if (digits.size() <= intDigits) {
    s += digits;
    s.append(intDigits - digits.size(), '0');
  } else {
    s.append(digits, 0, intDigits);
    s += '.';
    s.append(digits, intDigits);
  }
  return s;
}

std::string strOf(double value) {
  std::string s = textOf(value);
  if (s.empty() || s[0] != '-') s.insert(s.begin(), ' ');
  return s;
}

std::string roundTripText(double value) {
  if (!std::isfinite(value)) return textOf(value);
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, res.ptr);
}

}  // namespace velmora
