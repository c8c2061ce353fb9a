#include "editor/editor_numbers.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "form/control.h"
#include "form/convert.h"
#include "state/game.h"
#include "world/world.h"

namespace velmora {

namespace {

std::optional<int16_t> tableIndex(std::optional<int16_t> n) {
  if (!n || *n < 0 || *n >= kMaxBodies) return std::nullopt;
  return n;
}

}  // namespace

std::optional<int16_t> bodyOf(std::string_view text) {
  return tableIndex(wholeNumber16(numberOf(text)));
}

std::optional<int16_t> strictBodyOf(std::string_view text) {
  const std::optional<double> v = strictNumberOf(text);
  if (!v) return std::nullopt;
  return tableIndex(wholeNumber16(*v));
}

std::optional<int16_t> displayedBody(const Game& g) {
  if (const auto n = bodyOf(g.TXTOden->text())) return n;
  return g.editorMemory.shownBody;
}

std::array<Table<double>*, kTxtpCount> editedTables(World& w) {
  return {&w.PlanetX, &w.PlanetY, &w.MomentumX, &w.MomentumY, &w.PlanetGravity};
}

std::array<const Table<double>*, kTxtpCount> editedTables(const World& w) {
  return {&w.PlanetX, &w.PlanetY, &w.MomentumX, &w.MomentumY, &w.PlanetGravity};
}

int roundInto(double value, int lo, int hi, bool* clamped) {
  // Bounding first keeps huge values and NaN out of the integer conversion.
  const double bounded =
      std::isnan(value) ? lo : std::clamp(value, static_cast<double>(lo), static_cast<double>(hi));
  const int out = wholeNumber32(bounded).value_or(lo);
  if (clamped != nullptr) {
    const std::optional<int32_t> rounded = wholeNumber32(value);
    *clamped = !rounded || *rounded != out;
  }
  return out;
}

void setValueQuietly(Control& bar, int value) {
  Control::Handler handler = std::exchange(bar.onChange, nullptr);
  bar.setValue(value);
  bar.onChange = std::move(handler);
}

}  // namespace velmora
