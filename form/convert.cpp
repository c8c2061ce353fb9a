#include "form/convert.h"

namespace velmora {

// Not built yet.
double numberOf(std::string_view) {
  return 0;
}
std::optional<double> strictNumberOf(std::string_view) {
  return std::nullopt;
}
std::optional<int16_t> wholeNumber16(double) {
  return std::nullopt;
}
std::optional<int32_t> wholeNumber32(double) {
  return std::nullopt;
}
std::string textOf(double) {
  return "";
}
std::string strOf(double) {
  return "";
}
std::string roundTripText(double) {
  return "";
}

}  // namespace velmora
