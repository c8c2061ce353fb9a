// Pausing and resuming: the editor's controls appear and go, the simulation and
// the clock stop and run again. Edits are already in the tables, so nothing is
// copied on either transition.
#include <algorithm>
#include <cstdint>

#include "editor/editor.h"
#include "editor/editor_numbers.h"
#include "form/convert.h"
#include "panel/planet_count.h"
#include "sim/tick.h"
#include "state/game.h"

namespace velmora {

namespace {

// The selector's maximum from the planet-count field, counted as "Go" counts it:
// the leading number, its absolute value, at most 999. So "-5" reaches the five
// planets that "Go" made of it.
int selectorMaximum(const Game& g) {
  return planetCountOf(g.TXn->text());
}

// A window extent as a 16-bit scroll-bar maximum; a huge window saturates.
int extentMaximum(int twips) {
  return std::clamp(twips, int{INT16_MIN}, int{INT16_MAX});
}

void pause(Game& g) {
  g.Ti->setEnabled(false);
  VivaVida(g);
  g.TiK->setEnabled(false);
  for (int i = 0; i < kTxtpCount; ++i) {
    g.TXTp[i]->setVisible(true);
    g.Label6[i]->setVisible(true);
  }
  for (Control* c : {g.TXTOden, g.La[kLaPlanet], g.La[kLaPlanetType], g.TxTyp}) {
    c->setVisible(true);
  }

  g.Qui->setMax(selectorMaximum(g));
  if (g.Qui->value() == 0) {
    if (g.Qui->max() == 0) {
      Qui_Change(g);  // no body 1 to pass through: show body 0 directly
    } else {
      g.Qui->setValue(1);
      g.Qui->setValue(0);
    }
  } else {
    g.Qui->setValue(roundInto(numberOf(g.TXTOden->text()), g.Qui->min(), g.Qui->max()));
  }

  if (const auto n = bodyOf(g.TXTOden->text())) Ocean(g, *n);
  g.TiF->setEnabled(true);
  Asgard(g);
  g.Qui->setVisible(true);
  g.Frame2->setVisible(true);
  g.Opadd[0]->setValue(1);
  g.Hsp[0]->setMax(extentMaximum(g.W()));
  g.Hsp[1]->setMax(extentMaximum(g.H()));
  g.Chon->setVisible(true);
  sim::KlinK(g.world);
  Alive(g);
  g.Label10->setVisible(true);
}

void resume(Game& g) {
  g.Label10->setVisible(false);
  sim::KlinK(g.world);
  g.LaVida->setVisible(false);
  g.Chon->setVisible(false);
  g.ImSun->setVisible(true);
  g.La[kLaPlanet]->setVisible(false);
  for (int i = 0; i < kTxtpCount; ++i) {
    g.TXTp[i]->setVisible(false);
    g.Label6[i]->setVisible(false);
  }
  for (Control* c : {g.TXTOden, g.La[kLaPlanetType], g.TxTyp}) c->setVisible(false);
  g.Ti->setEnabled(true);
  g.TiK->setEnabled(true);
  g.Shark->setVisible(false);
  g.TiF->setEnabled(false);
  g.Qui->setVisible(false);
  g.Frame2->setVisible(false);
  for (int k = 0; k < kHspCount; ++k) {
    g.TXTp[k]->setVisible(false);
    g.Hsp[k]->setVisible(false);
  }
  // Unselecting raises nothing: no mode until the next pause.
  g.Opadd[0]->setValue(0);
  g.Opadd[1]->setValue(0);
}

}  // namespace

void Command5_Click(Game& g) {
  if (g.Ti->enabled()) {
    pause(g);
  } else {
    resume(g);
  }
}

void VivaVida(Game& g) {
  const World& w = g.world;
  const int last = std::min<int>(w.PlanetCount, kMaxBodies - 1);
  int dead = 0;
  for (int i = 0; i <= last; ++i) {
    if (w.PlanetOff[i] == 1) ++dead;
  }
  const int alive = w.PlanetCount + 1 - dead;
  g.LaVida->setCaption(strOf(dead) + " dead, alive" + strOf(alive));
  g.LaVida->setVisible(true);
}

}  // namespace velmora
