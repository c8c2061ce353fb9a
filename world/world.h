// The whole world of the game: ten parallel tables of 1000 bodies (body 0 is the
// sun) and the scalar settings and counters that every handler reads and writes.
// Plain data; every entry starts at 0.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace velmora {

inline constexpr int kMaxBodies = 1000;  // table size: body indices 0..999

template <class T>
using Table = std::array<T, kMaxBodies>;

struct World {
  // --- Planet tables (entry i describes body i) ---
  Table<double> PlanetX{};        // twips, grows to the right; field from 900 to W
  Table<double> PlanetY{};        // twips, grows downward; field from 0 to H - 300
  Table<double> MomentumX{};      // twips added to PlanetX every tick
  Table<double> MomentumY{};      // twips added to PlanetY every tick (positive is down)
  Table<double> PlanetGravity{};  // pull strength, and weight in a merge
  Table<double> PlanetType{};     // 0 Sun, 1 Jupiter, 2 Waterworld, 3 Lunar, 4 Asteroid
  Table<float> PlanetRed{};       // colour components, whole values 0..255
  Table<float> PlanetGreen{};
  Table<float> PlanetBlue{};
  Table<int16_t> PlanetOff{};  // 0 takes part, 1 off

  // --- Simulation settings ---
  int16_t PlanetCount = 0;            // highest body index in use (0..999)
  double GravityExponent = 0;         // x of g = m / r^x, read from TXg(2) every tick
  int16_t PlanetRadius = 0;           // close-pair distance: no pull at or below it
  int16_t BondRange = 0;              // merge below it; no kick at or below it
  int16_t SunRadius = 0;              // range used instead of BondRange with the sun
  int16_t ImpactJitter = 0;           // k: largest kick of a close pair
  int16_t ImpactJitterSpan = 0;       // 2k + 1
  int16_t StartSpin = 0;              // spread of start and relaunch momenta
  int16_t StartSpinSpan = 0;          // 2 * StartSpin + 1
  int16_t StartSpinQuarter = 0;       // StartSpin / 4, rounded half to even
  int16_t BorderMomentumDivisor = 1;  // 2 after "Slomo", else 1
  int16_t SeedCounter = 0;            // running seed shown in TXran
  int16_t TaggedPlanet = 0;           // the "Tag" field's body; read by nothing else
  int16_t GoBlinkTicks = 0;           // ticks of the Go button blink

  // --- Clock and score counters ---
  int32_t ElapsedSeconds = 0;   // seconds since the system was started
  int32_t LastDisturbance = 0;  // ElapsedSeconds at the last border event or merge
  int32_t StableSeconds = 0;    // ElapsedSeconds - LastDisturbance
  double StabilityFactor = 0;   // StableSeconds^2 / 1000
  double PlanetFactor = 0;      // live^2 / 1000
  double HighScore = 0;         // best score of this run
  double TopScore = 0;          // best score ever, kept in the tally file
  double TallyValue2 = 0;       // check value read from the tally file
  std::string ClockText;        // "hh:mm:ss"
  int16_t ClockHour = 0;
  int16_t ClockMinute = 0;
  int16_t ClockSecond = 0;
  int16_t StartHour = 0;
  int16_t StartMinute = 0;
  int16_t StartSecond = 0;
};

}  // namespace velmora
