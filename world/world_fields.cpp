#include "world/world_fields.h"

#include <cmath>
#include <limits>
#include <type_traits>

namespace velmora {

namespace {

constexpr TableField kTables[] = {
    {"PlanetX", "twips", &World::PlanetX},
    {"PlanetY", "twips", &World::PlanetY},
    {"MomentumX", "twips per tick", &World::MomentumX},
    {"MomentumY", "twips per tick", &World::MomentumY},
    {"PlanetGravity", "", &World::PlanetGravity},
    {"PlanetType", "", &World::PlanetType},
    {"PlanetRed", "", &World::PlanetRed},
    {"PlanetGreen", "", &World::PlanetGreen},
    {"PlanetBlue", "", &World::PlanetBlue},
    {"PlanetOff", "", &World::PlanetOff, {0, 2}},
};

const ScalarField kScalars[] = {
    {"PlanetCount", "", &World::PlanetCount, Kept::kSaved, {0, kMaxBodies - 1}, "the planet count"},
    {"GravityExponent", "", &World::GravityExponent, Kept::kSaved},
    {"PlanetRadius", "twips", &World::PlanetRadius, Kept::kSaved},
    {"BondRange", "twips", &World::BondRange, Kept::kSaved},
    {"SunRadius", "twips", &World::SunRadius, Kept::kSaved},
    {"ImpactJitter", "twips", &World::ImpactJitter, Kept::kSaved},
    {"ImpactJitterSpan", "twips", &World::ImpactJitterSpan, Kept::kSaved},
    {"StartSpin", "twips per tick", &World::StartSpin, Kept::kSaved},
    {"StartSpinSpan", "twips per tick", &World::StartSpinSpan, Kept::kSaved},
    {"StartSpinQuarter", "twips per tick", &World::StartSpinQuarter, Kept::kSaved},
    {"BorderMomentumDivisor", "", &World::BorderMomentumDivisor, Kept::kSaved, {1, 2}},
    {"SeedCounter", "", &World::SeedCounter, Kept::kSaved},
    {"TaggedPlanet", "", &World::TaggedPlanet, Kept::kSaved},
    {"GoBlinkTicks", "ticks", &World::GoBlinkTicks, Kept::kSavedOnly},
    {"ElapsedSeconds", "seconds", &World::ElapsedSeconds, Kept::kLive, kAnyWhole32},
    {"LastDisturbance", "seconds", &World::LastDisturbance, Kept::kLive, kAnyWhole32},
    {"StableSeconds", "seconds", &World::StableSeconds, Kept::kLive, kAnyWhole32},
    {"StabilityFactor", "", &World::StabilityFactor, Kept::kLive},
    {"PlanetFactor", "", &World::PlanetFactor, Kept::kLive},
    {"HighScore", "", &World::HighScore, Kept::kLive},
    {"TopScore", "", &World::TopScore, Kept::kLive},
    {"TallyValue2", "", &World::TallyValue2, Kept::kLive},
    {"ClockText", "", &World::ClockText, Kept::kLive},
    {"ClockHour", "hours", &World::ClockHour, Kept::kLive},
    {"ClockMinute", "minutes", &World::ClockMinute, Kept::kLive},
    {"ClockSecond", "seconds", &World::ClockSecond, Kept::kLive},
    {"StartHour", "hours", &World::StartHour, Kept::kLive},
    {"StartMinute", "minutes", &World::StartMinute, Kept::kLive},
    {"StartSecond", "seconds", &World::StartSecond, Kept::kLive},
};

template <class T>
std::span<const std::byte> bytesOfValue(const T& v) {
  return std::as_bytes(std::span<const T, 1>(&v, 1));
}

}  // namespace

std::span<const TableField> worldTables() {
  return kTables;
}

std::span<const ScalarField> worldScalars() {
  return kScalars;
}

bool isWhole(const TableField& f) {
  return std::holds_alternative<Table<int16_t> World::*>(f.member);
}

bool isSingle(const TableField& f) {
  return std::holds_alternative<Table<float> World::*>(f.member);
}

double entryOf(const World& w, const TableField& f, int i) {
  return std::visit([&](auto m) { return static_cast<double>((w.*m)[static_cast<size_t>(i)]); },
                    f.member);
}

void setEntry(World& w, const TableField& f, int i, double v) {
  std::visit(
      [&](auto m) {
        auto& table = w.*m;
        using T = typename std::remove_reference_t<decltype(table)>::value_type;
        table[static_cast<size_t>(i)] = static_cast<T>(v);
      },
      f.member);
}

bool holds(const TableField& f, double v) {
  if (!std::isfinite(v)) return false;
  return std::visit(
      [&](auto m) {
        using T = typename std::remove_reference_t<decltype(World{}.*m)>::value_type;
        if constexpr (std::is_integral_v<T>) {
          return v == std::floor(v) && v >= INT16_MIN && v <= INT16_MAX;
        } else {
          // A double beyond the float range would overflow the conversion.
          if (std::fabs(v) > static_cast<double>(std::numeric_limits<T>::max())) return false;
          const T t = static_cast<T>(v);
          return static_cast<double>(t) == v && std::signbit(t) == std::signbit(v);
        }
      },
      f.member);
}

std::span<const std::byte> bytesOf(const World& w, const TableField& f) {
  return std::visit(
      [&](auto m) -> std::span<const std::byte> { return std::as_bytes(std::span(w.*m)); },
      f.member);
}

void copyTable(const World& from, World& to, const TableField& f) {
  std::visit([&](auto m) { to.*m = from.*m; }, f.member);
}

bool isWhole(const ScalarField& f) {
  return std::holds_alternative<int16_t World::*>(f.member) ||
         std::holds_alternative<int32_t World::*>(f.member);
}

WholeRange typeRange(const ScalarField& f) {
  return std::holds_alternative<int32_t World::*>(f.member) ? kAnyWhole32 : kAnyWhole16;
}

bool isText(const ScalarField& f) {
  return std::holds_alternative<std::string World::*>(f.member);
}

std::string textOf(const World& w, const ScalarField& f) {
  const auto* m = std::get_if<std::string World::*>(&f.member);
  return m != nullptr ? w.**m : std::string();
}

double numberOf(const World& w, const ScalarField& f) {
  return std::visit(
      [&](auto m) -> double {
        if constexpr (std::is_same_v<decltype(m), std::string World::*>) {
          return 0;
        } else {
          return static_cast<double>(w.*m);
        }
      },
      f.member);
}

void setNumber(World& w, const ScalarField& f, double v) {
  std::visit(
      [&](auto m) {
        using T = std::remove_reference_t<decltype(w.*m)>;
        if constexpr (!std::is_same_v<T, std::string>) w.*m = static_cast<T>(v);
      },
      f.member);
}

std::span<const std::byte> bytesOf(const World& w, const ScalarField& f) {
  return std::visit(
      [&](auto m) -> std::span<const std::byte> {
        if constexpr (std::is_same_v<decltype(m), std::string World::*>) {
          return std::as_bytes(std::span((w.*m).data(), (w.*m).size()));
        } else {
          return bytesOfValue(w.*m);
        }
      },
      f.member);
}

void copyScalar(const World& from, World& to, const ScalarField& f) {
  std::visit([&](auto m) { to.*m = from.*m; }, f.member);
}

void copySaved(const World& from, World& to) {
  for (const TableField& t : worldTables()) copyTable(from, to, t);
  for (const ScalarField& s : worldScalars()) {
    if (saved(s)) copyScalar(from, to, s);
  }
}

}  // namespace velmora
