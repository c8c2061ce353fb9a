#include "app/field_tools.h"

#include <algorithm>
#include <cmath>

#include "app/tick_inputs.h"
#include "app/time_control.h"
#include "app/timeline.h"
#include "app/typed_value.h"
#include "create/placement.h"
#include "editor/editor.h"
#include "editor/editor_numbers.h"
#include "form/convert.h"
#include "form/player.h"
#include "sim/orbit.h"
#include "state/game.h"

namespace velmora {

namespace {

// Types `text` into the value field and leaves it: the editor checks and stores it.
void typeInto(Control& field, double value) {
  playerType(field, textOf(value));
}

// One edit of the two fields a and b, as the player types both and presses Tab.
void typePair(Game& g, int a, double va, int b, double vb) {
  typeInto(*g.TXTp[a], va);
  typeInto(*g.TXTp[b], vb);
  playerLeave(*g.TXTp[b]);
}

// The playing field: x from its left edge to W, y from 0 to H less the gap below.
double onFieldX(const Game& g, double x) {
  return std::clamp(x, static_cast<double>(kFieldLeft), static_cast<double>(g.W()));
}
double onFieldY(const Game& g, double y) {
  return std::clamp(y, 0.0, static_cast<double>(g.H() - kFieldBottomGap));
}

double heldMomentum(double m) {
  return std::clamp(m, -1.0 * kTypedMomentumLimit, 1.0 * kTypedMomentumLimit);
}

// Selects body n through the selector, as the player scrolling it there would; the
// selector reaches a body added beyond the planet count it was given.
void select(Game& g, int16_t n) {
  if (g.Qui->max() < n) g.Qui->setMax(n);
  if (g.Qui->value() == n && displayedBody(g) != n) {
    applyTypedValue(g);
    Qui_Change(g);  // shows the body the selector stands at, as a scroll there does
    return;
  }
  playerScroll(*g.Qui, n);
}

// The lowest planet that is off, else the next one the tables hold.
std::optional<int16_t> freeBody(const World& w) {
  for (int i = 1; i <= w.PlanetCount && i < kMaxBodies; ++i) {
    if (w.PlanetOff[i] == 1) return static_cast<int16_t>(i);
  }
  if (w.PlanetCount + 1 < kMaxBodies) return static_cast<int16_t>(w.PlanetCount + 1);
  return std::nullopt;
}

}  // namespace

std::optional<int16_t> liveBodyNear(const Game& g, double x, double y, double radius) {
  const World& w = g.world;
  std::optional<int16_t> best;
  double nearest = radius * radius;
  for (int i = std::min<int>(w.PlanetCount, kMaxBodies - 1); i >= 0; --i) {
    if (w.PlanetOff[i] != 0) continue;
    const double dx = w.PlanetX[i] - x;
    const double dy = w.PlanetY[i] - y;
    const double d2 = dx * dx + dy * dy;
    if (d2 <= nearest) {
      nearest = d2;
      best = static_cast<int16_t>(i);
    }
  }
  return best;
}

std::optional<int16_t> selectedBody(const Game& g) {
  if (!pausedForEditing(g)) return std::nullopt;
  return displayedBody(g);
}

ToolOutcome pickAt(Game& g, double x, double y, double radius) {
  if (!pausedForEditing(g)) return ToolOutcome::kNotAvailable;
  const auto n = liveBodyNear(g, x, y, radius);
  if (!n) return ToolOutcome::kNothingThere;
  select(g, *n);
  return ToolOutcome::kDone;
}

ToolOutcome dragTo(Game& g, double x, double y) {
  if (!selectedBody(g)) return ToolOutcome::kNotAvailable;
  TimelineEdit one(g);
  typeInto(*g.TXTp[kTxtpX], onFieldX(g, x));
  playerLeave(*g.TXTp[kTxtpX]);
  typeInto(*g.TXTp[kTxtpY], onFieldY(g, y));
  playerLeave(*g.TXTp[kTxtpY]);
  return ToolOutcome::kDone;
}

ToolOutcome aimAt(Game& g, double mx, double my) {
  if (!selectedBody(g)) return ToolOutcome::kNotAvailable;
  TimelineEdit one(g);
  typePair(g, kTxtpMomentumX, heldMomentum(mx), kTxtpMomentumY, heldMomentum(my));
  return ToolOutcome::kDone;
}

ToolOutcome orbitSelected(Game& g) {
  const auto n = selectedBody(g);
  if (!n) return ToolOutcome::kNotAvailable;
  applyTypedValue(g);  // the body as the fields last stored it
  const double exponent = tickExponent(g);
  const auto centre = sim::strongestPuller(g.world, *n, exponent);
  if (!centre) return ToolOutcome::kNothingThere;
  const auto m = sim::circularOrbit(g.world, *n, *centre, exponent);
  if (!m) return ToolOutcome::kNothingThere;
  return aimAt(g, m->x, m->y);
}

ToolOutcome addBodyAt(Game& g, double x, double y) {
  if (!pausedForEditing(g)) return ToolOutcome::kNotAvailable;
  const auto n = freeBody(g.world);
  if (!n) return ToolOutcome::kTableFull;
  applyTypedValue(g);
  TimelineEdit one(g);
  World& w = g.world;
  if (*n > w.PlanetCount) w.PlanetCount = *n;
  colourBody(g, *n);
  w.PlanetX[*n] = onFieldX(g, x);
  w.PlanetY[*n] = onFieldY(g, y);
  w.MomentumX[*n] = 0;
  w.MomentumY[*n] = 0;
  w.PlanetGravity[*n] = numberOf(g.TXg[kTxgPlanetGravity]->text());
  w.PlanetType[*n] = planetTypeOf(w.PlanetGravity[*n]);
  w.PlanetOff[*n] = 0;
  select(g, *n);
  VivaVida(g);
  return ToolOutcome::kDone;
}

}  // namespace velmora
