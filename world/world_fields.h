// Every value of the World once, by its name: its type, unit and the range the game
// keeps it in, whether a saved system holds it and whether the runner's hash covers
// it. The saved-system file, the snapshot's capture and check, and the script
// runner's items and hash all walk these lists, so a value added here is written,
// read, checked and shown everywhere at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <variant>

#include "world/world.h"

namespace velmora {

// The inclusive range a whole-number value may take; a number field holds any
// finite value.
struct WholeRange {
  long long lo;
  long long hi;
};
inline constexpr WholeRange kAnyWhole16{INT16_MIN, INT16_MAX};
inline constexpr WholeRange kAnyWhole32{INT32_MIN, INT32_MAX};

using TableMember =
    std::variant<Table<double> World::*, Table<float> World::*, Table<int16_t> World::*>;

struct TableField {
  const char* name;  // "PlanetX": the file's key, the runner's item "PlanetX(12)"
  const char* unit;  // "twips", "twips per tick", "" for none
  TableMember member;
  WholeRange range = kAnyWhole16;  // the game's range of a whole-number table
};

using ScalarMember =
    std::variant<int16_t World::*, int32_t World::*, double World::*, std::string World::*>;

enum class Kept {
  kSaved,      // in a saved system and the runner's hash
  kSavedOnly,  // in a saved system, not in the hash
  kLive,       // of the running clock and score: neither saved nor hashed
};

struct ScalarField {
  const char* name;  // the file's key and the runner's item
  const char* unit;
  ScalarMember member;
  Kept kept;
  WholeRange range = kAnyWhole16;  // the game's range of a whole number
  const char* spoken = nullptr;    // its name in a message, when not `name`
};

// The tables, in table order.
std::span<const TableField> worldTables();
// Every scalar, in the World's order: the simulation settings, the tag and blink
// counters, then the clock and score counters.
std::span<const ScalarField> worldScalars();

inline bool saved(const ScalarField& f) {
  return f.kept != Kept::kLive;
}
inline const char* spokenName(const ScalarField& f) {
  return f.spoken != nullptr ? f.spoken : f.name;
}

// ---- Reading and writing a value through its field ----------------------------

// True for a table of whole numbers (int16), false for numbers.
bool isWhole(const TableField& f);
// True for a table of single-precision numbers.
bool isSingle(const TableField& f);
// Entry i as a double: exact for every type a table holds.
double entryOf(const World& w, const TableField& f, int i);
// Sets entry i; `v` must be one the table's type holds exactly (see holds()).
void setEntry(World& w, const TableField& f, int i, double v);
// Whether the table's type holds `v` exactly: a finite double, a single-precision
// value, or a whole number within 16 bits.
bool holds(const TableField& f, double v);
// The table as bytes, for hashing.
std::span<const std::byte> bytesOf(const World& w, const TableField& f);
void copyTable(const World& from, World& to, const TableField& f);

// A scalar of a whole-number type, and its type's own bounds.
bool isWhole(const ScalarField& f);
WholeRange typeRange(const ScalarField& f);
bool isText(const ScalarField& f);
// A text scalar's value; empty for a number.
std::string textOf(const World& w, const ScalarField& f);
// A number scalar's value as a double (whole numbers exactly); 0 for a text.
double numberOf(const World& w, const ScalarField& f);
// Sets a number scalar; a whole-number one takes `v` converted (the caller has
// checked it is whole and within typeRange).
void setNumber(World& w, const ScalarField& f, double v);
std::span<const std::byte> bytesOf(const World& w, const ScalarField& f);
void copyScalar(const World& from, World& to, const ScalarField& f);

// Copies every saved table and scalar, nothing of the clock and score.
void copySaved(const World& from, World& to);

}  // namespace velmora
