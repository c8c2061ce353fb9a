#include "create/start_readings.h"

#include <optional>

#include "form/convert.h"
#include "state/game.h"

namespace velmora {

namespace {

std::optional<int16_t> wholeOf(const Control& field) {
  return wholeNumber16(numberOf(field.text()));
}

std::optional<int16_t> spanOf(std::optional<int16_t> k) {
  return k ? wholeNumber16(2.0 * *k + 1) : std::nullopt;
}

std::string fix(const std::string& what) {
  return what + " Correct it and press Go again.";
}

}  // namespace

std::variant<StartReadings, std::string> readStart(const Game& g) {
  StartReadings r{};
  const auto strictSun = strictNumberOf(g.TXsrad->text());
  const auto sun = strictSun ? wholeNumber16(*strictSun) : std::nullopt;
  if (!sun) return fix("The Sun Radius must be a whole number from -32768 to 32767.");
  r.sunRadius = *sun;

  const auto tag = wholeOf(*g.Text7);
  if (!tag) return fix("The tagged planet number is out of range.");
  r.taggedPlanet = *tag;

  const auto jitter = wholeOf(*g.Text4);
  const auto jitterSpan = spanOf(jitter);
  if (!jitterSpan) return fix("The impact jitter must lie from -16384 to 16383.");
  r.impactJitter = *jitter;
  r.impactJitterSpan = *jitterSpan;

  const auto bond = wholeOf(*g.Text5);
  if (!bond) return fix("The Atomic Force Range must be a whole number from -32768 to 32767.");
  r.bondRange = *bond;

  const auto spin = wholeOf(*g.Text2);
  const auto spinSpan = spanOf(spin);
  if (!spinSpan) return fix("The Start Angular Momentum must lie from -16384 to 16383.");
  r.startSpin = *spin;
  r.startSpinSpan = *spinSpan;
  r.startSpinQuarter = *wholeNumber16(*spin / 4.0);

  const auto radius = wholeOf(*g.Text1);
  if (!radius) return fix("The Planet Radius must be a whole number from -32768 to 32767.");
  r.planetRadius = *radius;

  const auto tick = wholeNumber32(numberOf(g.TXt->text()));
  if (!tick || *tick < 1 || *tick > 65535) {
    return fix("The time per event calculation must be from 1 to 65535 ms.");
  }
  r.tickMs = *tick;
  return r;
}

}  // namespace velmora
