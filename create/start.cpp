// "Go": turns the panel into a new system and sets it running, once per run.
#include <cmath>
#include <string>
#include <variant>

#include "create/create.h"
#include "create/placement.h"
#include "create/start_readings.h"
#include "form/convert.h"
#include "panel/clear_period.h"
#include "panel/planet_count.h"
#include "panel/sun_image.h"
#include "state/game.h"

namespace velmora {

namespace {

int16_t clockField(const std::string& clockText, std::size_t pos) {
  return wholeNumber16(numberOf(clockText.substr(pos, 2))).value_or(0);
}

void hideStartLayout(Game& g) {
  g.Timero->setEnabled(false);
  for (Control* c : {g.Picture1, g.Label11, g.PicA, g.Label7, g.Command6}) c->setVisible(false);
}

void showRunningLayout(Game& g) {
  g.TXg[kTxgPlanetGravity]->setEnabled(false);
  g.TXg[kTxgPlanetGravityMost]->setEnabled(false);
  g.CHgr->setEnabled(false);
  g.Command4->setVisible(true);
  g.Command5->setLeft(240);
  g.TXran->setEnabled(false);
  g.CHran->setVisible(false);
  for (Control* c : g.TXw) c->setEnabled(false);
  for (Control* c : g.CDp) c->setVisible(false);
  g.Command2->setVisible(false);
  g.Command5->setVisible(true);
  g.La[kLaSets]->setVisible(false);
}

void noteStartTime(Game& g) {
  World& w = g.world;
  const int secondOfDay = g.clock.secondOfDay();
  g.clockWatch.note(g.clock.nowMs(), secondOfDay);
  w.ClockText = formatTimeOfDay(secondOfDay);
  w.StartSecond = clockField(w.ClockText, 6);
  w.StartMinute = clockField(w.ClockText, 3);
  w.StartHour = clockField(w.ClockText, 0);
  g.TiK->setEnabled(true);
}

}  // namespace

void showRunningSystem(Game& g) {
  hideStartLayout(g);
  showRunningLayout(g);
  g.TXn->setEnabled(false);
  g.Tr->setEnabled(false);
  g.ImMoon->setVisible(false);
  g.panelMemory.systemStarted = true;
}

void showStartLayout(Game& g) {
  g.Timero->setEnabled(true);
  for (Control* c : {g.Picture1, g.Label11, g.PicA, g.Label7, g.Command6}) c->setVisible(true);
  for (Control* c : {g.TXg[kTxgPlanetGravity], g.TXg[kTxgPlanetGravityMost], g.CHgr, g.TXran,
                     g.TXw[0], g.TXw[1], g.TXw[2], g.TXn}) {
    c->setEnabled(true);
  }
  g.Command4->setVisible(false);
  g.CHran->setVisible(true);
  for (Control* c : g.CDp) c->setVisible(true);
  g.Command2->setVisible(true);
  g.Command5->setVisible(false);
  g.La[kLaSets]->setVisible(true);
  g.ImMoon->setVisible(true);
  g.Tr->setEnabled(g.CHran->value() != 1);
  g.panelMemory.systemStarted = false;
  g.world.GoBlinkTicks = kSpinFittingBlinks;
}

void startClockAfresh(Game& g) {
  noteStartTime(g);
}

void Command2_Click(Game& g) {
  if (g.panelMemory.systemStarted) return;
  const auto readings = readStart(g);
  if (const auto* why = std::get_if<std::string>(&readings)) {
    g.Label11->setCaption(*why);
    return;
  }
  const StartReadings& r = std::get<StartReadings>(readings);
  g.panelMemory.systemStarted = true;
  World& w = g.world;

  g.rng.seed(numberOf(g.TXran->text()));
  const double spread = numberOf(g.TXTrange->text());
  hideStartLayout(g);
  w.SunRadius = r.sunRadius;
  // Texts, not numbers: "0" sorts before "150", "25" after it.
  if (g.TXn->text() < g.TXw[0]->text()) copyPlanetCountEntry(g);
  showRunningLayout(g);
  noteStartTime(g);

  w.TaggedPlanet = r.taggedPlanet;
  g.TXn->setEnabled(false);
  w.ImpactJitter = r.impactJitter;
  w.ImpactJitterSpan = r.impactJitterSpan;
  w.BondRange = r.bondRange;
  g.Tr->setEnabled(false);

  w.StartSpin = r.startSpin;
  w.StartSpinSpan = r.startSpinSpan;
  w.StartSpinQuarter = r.startSpinQuarter;
  w.PlanetCount = planetCountOf(g.TXn->text());

  colourBodies(g);
  w.PlanetRadius = r.planetRadius;
  g.Ti->setInterval(r.tickMs);

  const double centreX = std::floor(g.W() / 2.0);
  const double centreY = std::floor(g.H() / 2.0);
  w.PlanetX[0] = centreX;
  w.PlanetY[0] = centreY;
  const double g1 = numberOf(g.TXg[kTxgPlanetGravity]->text());
  const double g3 = numberOf(g.TXg[kTxgPlanetGravityMost]->text());
  placePlanets(g, spread, g1, g3);
  w.PlanetGravity[0] = numberOf(g.TXg[kTxgSunGravity]->text());

  centreImageOn(*g.ImSun, centreX, centreY);
  g.ImMoon->setVisible(false);
  g.ImSun->setVisible(true);

  g.Ti->setEnabled(true);
  if (g.CHr->value() == 1) {
    setClearPeriod(g);
    g.Tiball->setEnabled(true);
  }
}

}  // namespace velmora
