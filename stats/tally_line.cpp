#include "stats/tally_line.h"

#include <array>
#include <cmath>

#include "form/convert.h"

namespace velmora {

namespace {

// A line we write is well under this; anything longer is not a tally.
constexpr std::size_t kMaxLineLength = 200;

}  // namespace

double tallyCheck(double topScore) {
  return std::floor(topScore / 7);
}

std::string tallyLine(double topScore) {
  return textOf(topScore) + "," + textOf(tallyCheck(topScore)) + ",10\r\n";
}

std::optional<TallyRecord> parseTallyLine(std::string_view contents) {
  std::string_view line = contents.substr(0, contents.find_first_of("\r\n"));
  if (line.size() > kMaxLineLength) return std::nullopt;

  std::array<double, 3> fields{};
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const std::size_t comma = line.find(',');
    const bool last = i + 1 == fields.size();
    // The last field runs to the end of the line; the others end at a comma.
    if (last == (comma != std::string_view::npos)) return std::nullopt;
    const std::optional<double> value = strictNumberOf(line.substr(0, comma));
    if (!value) return std::nullopt;
    fields[i] = *value;
    if (!last) line.remove_prefix(comma + 1);
  }
  return TallyRecord{fields[0], fields[1], fields[2]};
}

}  // namespace velmora
