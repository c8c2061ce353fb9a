#include "script/world_items.h"

#include "form/convert.h"
#include "world/world_fields.h"

namespace velmora {

namespace {

std::string num(double v) {
  return roundTripText(v);
}

class Fnv {
 public:
  void bytes(std::span<const std::byte> data) {
    for (const std::byte b : data) {
      hash_ ^= static_cast<unsigned char>(b);
      hash_ *= 1099511628211ULL;
    }
  }
  uint64_t hash() const { return hash_; }

 private:
  uint64_t hash_ = 1469598103934665603ULL;
};

}  // namespace

std::string ScalarItem::text(const World& w) const {
  if (isText(*field)) return textOf(w, *field);
  return num(numberOf(w, *field));
}

const std::vector<ScalarItem>& scalarItems() {
  static const std::vector<ScalarItem> items = [] {
    std::vector<ScalarItem> out;
    for (const ScalarField& f : worldScalars()) out.push_back({f.name, &f});
    return out;
  }();
  return items;
}

const std::vector<const char*>& tableNames() {
  static const std::vector<const char*> names = [] {
    std::vector<const char*> out;
    for (const TableField& t : worldTables()) out.push_back(t.name);
    return out;
  }();
  return names;
}

std::string tableEntryText(const World& w, int table, int i) {
  return num(entryOf(w, worldTables()[static_cast<size_t>(table)], i));
}

std::optional<std::string> tableEntryText(const World& world, const std::string& item) {
  const auto open = item.find('(');
  if (open == std::string::npos || item.back() != ')') return std::nullopt;
  const std::string name = item.substr(0, open);
  const std::string digits = item.substr(open + 1, item.size() - open - 2);
  if (digits.empty() || digits.size() > 3) return std::nullopt;
  int index = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    index = index * 10 + (c - '0');
  }
  const auto tables = worldTables();
  for (size_t t = 0; t < tables.size(); ++t) {
    if (name == tables[t].name) return tableEntryText(world, static_cast<int>(t), index);
  }
  return std::nullopt;
}

uint64_t worldHash(const World& w) {
  Fnv h;
  for (const TableField& t : worldTables()) h.bytes(bytesOf(w, t));
  // The hashed settings, the whole numbers first and then the exponent: the order
  // every golden hash was taken in.
  for (const bool whole : {true, false}) {
    for (const ScalarField& s : worldScalars()) {
      if (s.kept == Kept::kSaved && isWhole(s) == whole) h.bytes(bytesOf(w, s));
    }
  }
  return h.hash();
}

}  // namespace velmora
