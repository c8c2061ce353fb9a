// The world's settings, counters and table entries by their names, for the script
// runner's print, dump and hash.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "world/world.h"

namespace velmora {

struct ScalarField;

struct ScalarItem {
  const char* name;
  const ScalarField* field;                // its entry in the World's field list
  std::string text(const World& w) const;  // the value as the runner prints it
};

// Every scalar of the World's field list, in its order: the simulation settings,
// the tag and blink counters, then the clock and score counters.
const std::vector<ScalarItem>& scalarItems();

// The tables' names, in table order.
const std::vector<const char*>& tableNames();

// "PlanetX(12)" and the like; nothing when the name or index is unknown.
std::optional<std::string> tableEntryText(const World& world, const std::string& item);
std::string tableEntryText(const World& world, int table, int index);

// A 64-bit FNV-1a hash of the tables and the simulation settings (not of the
// clock, score and tally values, which depend on the time and the tally file).
uint64_t worldHash(const World& world);

}  // namespace velmora
