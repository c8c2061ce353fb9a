#include "script/world_items.h"

#include <cstring>

#include "form/convert.h"

namespace velmora {

namespace {

std::string num(double v) {
  return roundTripText(v);
}

#define VELMORA_SCALAR(field)                                                \
  ScalarItem {                                                               \
#field, [](const World& w) { return num(static_cast<double>(w.field)); } \
  }

class Fnv {
 public:
  void bytes(const void* data, size_t size) {
    const auto* p = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i) {
      hash_ ^= p[i];
      hash_ *= 1099511628211ULL;
    }
  }
  template <class T>
  void value(const T& v) {
    bytes(&v, sizeof v);
  }
  uint64_t hash() const { return hash_; }

 private:
  uint64_t hash_ = 1469598103934665603ULL;
};

}  // namespace

const std::vector<ScalarItem>& scalarItems() {
  static const std::vector<ScalarItem> items = {
      VELMORA_SCALAR(PlanetCount),
      VELMORA_SCALAR(GravityExponent),
      VELMORA_SCALAR(PlanetRadius),
      VELMORA_SCALAR(BondRange),
      VELMORA_SCALAR(SunRadius),
      VELMORA_SCALAR(ImpactJitter),
      VELMORA_SCALAR(ImpactJitterSpan),
      VELMORA_SCALAR(StartSpin),
      VELMORA_SCALAR(StartSpinSpan),
      VELMORA_SCALAR(StartSpinQuarter),
      VELMORA_SCALAR(BorderMomentumDivisor),
      VELMORA_SCALAR(SeedCounter),
      VELMORA_SCALAR(TaggedPlanet),
      VELMORA_SCALAR(GoBlinkTicks),
      VELMORA_SCALAR(ElapsedSeconds),
      VELMORA_SCALAR(LastDisturbance),
      VELMORA_SCALAR(StableSeconds),
      VELMORA_SCALAR(StabilityFactor),
      VELMORA_SCALAR(PlanetFactor),
      VELMORA_SCALAR(HighScore),
      VELMORA_SCALAR(TopScore),
      VELMORA_SCALAR(TallyValue2),
      ScalarItem{"ClockText", [](const World& w) { return w.ClockText; }},
      VELMORA_SCALAR(ClockHour),
      VELMORA_SCALAR(ClockMinute),
      VELMORA_SCALAR(ClockSecond),
      VELMORA_SCALAR(StartHour),
      VELMORA_SCALAR(StartMinute),
      VELMORA_SCALAR(StartSecond),
  };
  return items;
}

#undef VELMORA_SCALAR

const std::vector<const char*>& tableNames() {
  static const std::vector<const char*> names = {
      "PlanetX",    "PlanetY",   "MomentumX",   "MomentumY",  "PlanetGravity",
      "PlanetType", "PlanetRed", "PlanetGreen", "PlanetBlue", "PlanetOff"};
  return names;
}

std::string tableEntryText(const World& w, int table, int i) {
  switch (table) {
    case 0:
      return num(w.PlanetX[i]);
    case 1:
      return num(w.PlanetY[i]);
    case 2:
      return num(w.MomentumX[i]);
    case 3:
      return num(w.MomentumY[i]);
    case 4:
      return num(w.PlanetGravity[i]);
    case 5:
      return num(w.PlanetType[i]);
    case 6:
      return num(w.PlanetRed[i]);
    case 7:
      return num(w.PlanetGreen[i]);
    case 8:
      return num(w.PlanetBlue[i]);
    default:
      return num(w.PlanetOff[i]);
  }
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
  const auto& names = tableNames();
  for (size_t t = 0; t < names.size(); ++t) {
    if (name == names[t]) return tableEntryText(world, static_cast<int>(t), index);
  }
  return std::nullopt;
}

uint64_t worldHash(const World& w) {
  Fnv h;
  h.value(w.PlanetX);
  h.value(w.PlanetY);
  h.value(w.MomentumX);
  h.value(w.MomentumY);
  h.value(w.PlanetGravity);
  h.value(w.PlanetType);
  h.value(w.PlanetRed);
  h.value(w.PlanetGreen);
  h.value(w.PlanetBlue);
  h.value(w.PlanetOff);
  for (const auto v : {w.PlanetCount, w.PlanetRadius, w.BondRange, w.SunRadius, w.ImpactJitter,
                       w.ImpactJitterSpan, w.StartSpin, w.StartSpinSpan, w.StartSpinQuarter,
                       w.BorderMomentumDivisor, w.SeedCounter, w.TaggedPlanet}) {
    h.value(v);
  }
  h.value(w.GravityExponent);
  return h.hash();
}

}  // namespace velmora
