// The tally file's one line: the best score ever, its check value and a third
// field that nothing uses.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora {

inline constexpr const char* kNewTallyLine = "1,1,1\r\n";

struct TallyRecord {
  double topScore = 0;
  double check = 0;
  double unused = 0;
};

// The check value stored beside a score: Int(score / 7).
double tallyCheck(double topScore);

// "144,20,10\r\n" for a top score of 144.
std::string tallyLine(double topScore);

// The three numbers of the first line, or nothing when the contents do not hold
// exactly three readable numbers there.
std::optional<TallyRecord> parseTallyLine(std::string_view contents);

}  // namespace velmora
