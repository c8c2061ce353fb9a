#include "app/engine_events.h"
#include "app/tick_inputs.h"

#include <string>

#include "form/convert.h"
#include "sim/tick.h"
#include "state/game.h"

namespace velmora {

double tickExponent(const Game& g) {
  return numberOf(g.TXg[kTxgExponent]->text());
}

sim::TickInputs tickInputsOf(const Game& g) {
  sim::TickInputs in;
  in.sunFixed = g.CHsol->value() != 0;
  in.borderOption = selectedBorder(g);
  in.bind = g.Chbi->value() != 0;
  in.spin = g.CHgod->value();
  in.W = g.W();
  in.H = g.H();
  return in;
}

void Ti_Timer(Game& g) {
  g.world.GravityExponent = tickExponent(g);
  sim::tick(g.world, tickInputsOf(g), g.rng, g.surface);
}

void Tr_Timer(Game& g) {
  World& w = g.world;
  w.SeedCounter = static_cast<int16_t>(w.SeedCounter >= 32000 ? -32000 : w.SeedCounter + 1);
  g.TXran->setText(std::to_string(w.SeedCounter));
}

void Och_Click(Game& g, int index) {
  g.world.BorderMomentumDivisor = index == kSlomo ? 2 : 1;
}

void Tiball_Timer(Game& g) {
  // While the editor is open the player may want to study the trails.
  if (!g.TXTOden->visible()) g.surface.clear();
}

void Command4_Click(Game& g) {
  g.surface.clear();
}

}  // namespace velmora
