#include "app/new_system.h"

#include <utility>

#include "app/layout.h"
#include "app/timeline.h"
#include "create/create.h"
#include "editor/editor.h"
#include "form/convert.h"
#include "panel/panel.h"
#include "state/game.h"

namespace velmora {

namespace {

// The world of a program just started: every table entry and counter at 0. The
// settings stay as the panel's handlers stored them, the running seed as the seed
// field shows it, and the best score ever and its check value as the tally gave them.
void startWorldAfresh(World& w) {
  World fresh;
  fresh.PlanetCount = w.PlanetCount;
  fresh.GravityExponent = w.GravityExponent;
  fresh.PlanetRadius = w.PlanetRadius;
  fresh.BondRange = w.BondRange;
  fresh.SunRadius = w.SunRadius;
  fresh.ImpactJitter = w.ImpactJitter;
  fresh.ImpactJitterSpan = w.ImpactJitterSpan;
  fresh.StartSpin = w.StartSpin;
  fresh.StartSpinSpan = w.StartSpinSpan;
  fresh.StartSpinQuarter = w.StartSpinQuarter;
  fresh.BorderMomentumDivisor = w.BorderMomentumDivisor;
  fresh.TaggedPlanet = w.TaggedPlanet;
  fresh.SeedCounter = w.SeedCounter;
  fresh.TopScore = w.TopScore;
  fresh.TallyValue2 = w.TallyValue2;
  w = std::move(fresh);
}

// The editor as at start-up: closed, on body 0, no mode, nothing shown.
void closeTheEditorAfresh(Game& g) {
  if (!g.Ti->enabled() && g.TXTOden->visible()) Command5_Click(g);  // resume: it closes
  g.Ti->setEnabled(false);
  g.TiK->setEnabled(false);
  g.TiF->setEnabled(false);
  Control::Handler change = std::move(g.Qui->onChange);
  g.Qui->setValue(0);
  g.Qui->setMax(0);
  g.Qui->onChange = std::move(change);
  g.TXTOden->setText("0");
  for (Control* field : g.TXTp) field->setText("0");
  g.editorMemory = {};
  g.skipPass = {};
}

}  // namespace

bool newSystem(Game& g) {
  if (!g.panelMemory.systemStarted) return false;
  closeTheEditorAfresh(g);
  g.timeline->forget();
  startWorldAfresh(g.world);
  g.surface.clear();
  g.ImSun->setVisible(false);
  showSunIfChecked(g);
  for (Control* c : {g.Label2, g.Label3, g.Label4, g.LaTT}) c->setCaption(textOf(0));
  showStartLayout(g);
  layoutMainWindow(g);  // "Pause" back to its place beside "Go"
  return true;
}

}  // namespace velmora
