// The saved-system file's JSON, read within the format's budgets: at most as deep
// as the format nests, as long a list as a table, as many fields in one object and
// values in all as a system can hold. Input that breaks the budget is refused the
// moment it does, so reading any file costs little beyond the file itself.
#pragma once

#include <cstddef>
#include <nlohmann/json.hpp>
#include <string>

namespace velmora {

struct JsonBudget {
  int depth;            // containers open at once, the outermost object included
  size_t listEntries;   // entries in one list
  size_t objectFields;  // fields of one object
  size_t values;        // values and containers in the whole file
};

struct ParsedJson {
  nlohmann::json root;  // what was read: all of it, or what came before the refusal
  std::string refusal;  // empty when the whole text was read
};

// The text's one JSON object, or the first thing wrong as a phrase: "it is not JSON
// (at byte 12)", "it is cut short", "PlanetX(3) is not a finite number", "settings
// has the field \"BondRange\" twice", "PlanetX has more than 1000 entries".
ParsedJson parseSystemJson(const std::string& text, const JsonBudget& budget);

// What a value is, as the messages say it: "an object", "a list", "a text", "a number".
const char* typeName(const nlohmann::json& j);

}  // namespace velmora
