#include "app/time_control.h"

#include "app/engine_events.h"
#include "app/timeline.h"
#include "app/typed_value.h"
#include "editor/editor.h"
#include "state/game.h"
#include "stats/stats.h"

namespace velmora {

namespace {

// A tick of the timer, kept on the timeline.
void timedTick(Game& g) {
  g.timeline->beforeTick(g);
  Ti_Timer(g);
  g.timeline->afterTick(g);
}

}  // namespace

void Ti_Period(Game& g) {
  for (int n = g.speed.ticksForPeriod(); n > 0 && g.Ti->enabled(); --n) timedTick(g);
}

void TiK_Period(Game& g) {
  TiK_Timer(g);
  g.speed.settle(g.clock.nowMs());
}

void followTheSimulation(Game& g) {
  g.fs7.observe([&g](Control& c, Prop prop) {
    if (&c == g.Ti && prop == Prop::Enabled) g.speed.setRunning(c.enabled());
  });
}

bool pausedForEditing(const Game& g) {
  return !g.Ti->enabled() && g.Frame2->visible() && g.TXTOden->visible();
}

bool stepOnce(Game& g) {
  if (!pausedForEditing(g)) return false;
  // The field's LostFocus applies its value before the editor shows the body again.
  applyTypedValue(g);
  if (!pausedForEditing(g)) return false;
  timedTick(g);
  Asgard(g);
  return true;
}

}  // namespace velmora
