// Opening a saved system. The game is first brought to the running layout (from
// the start layout, or out of the editor), then takes the saved state without
// raising any event, and is then paused as a player pauses: so an opened system
// resumes exactly as the one that was paused where it was saved.
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "app/system_snapshot.h"
#include "create/create.h"
#include "editor/editor.h"
#include "editor/editor_numbers.h"
#include "form/convert.h"
#include "panel/panel.h"
#include "state/game.h"
#include "world/world_fields.h"

namespace velmora {

namespace {

// A check box or option button takes `value` without running its Click.
void setQuietly(Control& c, int value) {
  Control::Handler handler = std::exchange(c.onClick, nullptr);
  c.setValue(value);
  c.onClick = std::move(handler);
}

constexpr const char* kNoMemoryToOpen = "there is not enough memory to open it";

// The window and its field take the saved size; false, the size as it was, when the
// field's memory cannot be had.
bool resizeFor(Game& g, int widthTwips, int heightTwips) {
  const int width = g.W(), height = g.H();
  try {
    g.resize(widthTwips, heightTwips);
    return true;
  } catch (const std::bad_alloc&) {
    g.fs7.setSize(width, height);
    return false;
  }
}

void leaveTheEditor(Game& g) {
  if (!hasSystem(g)) {
    showRunningSystem(g);
  } else if (!g.Ti->enabled()) {
    Command5_Click(g);  // resume: the editor closes
  }
}

void takeWorld(Game& g, const SystemSnapshot& s) {
  World& w = g.world;
  const double topScore = w.TopScore;
  const double tallyValue2 = w.TallyValue2;
  w = s.world;
  w.TopScore = topScore;
  w.TallyValue2 = tallyValue2;
  g.rng.restore(s.rngState, s.rngDraws);
}

void takePanel(Game& g, const SystemSnapshot& s) {
  for (const auto& c : g.fs7.controls()) {
    if (c->kind() == Kind::TextBox) {
      c->setText(s.texts.at(c->id()));
      g.panelMemory.forget(*c);
      if (const auto it = s.accepted.find(c->id()); it != s.accepted.end()) {
        g.panelMemory.setAccepted(*c, it->second);
      }
    } else if (c->kind() == Kind::CheckBox) {
      setQuietly(*c, s.checks.at(c->id()));
    }
  }
  for (int i = 0; i < static_cast<int>(g.Och.size()); ++i) {
    if (i != s.borderOption) g.Och[i]->setValue(0);  // unselecting raises nothing
  }
  if (s.borderOption >= 0) setQuietly(*g.Och[s.borderOption], 1);
}

// The clock starts as at "Go": nothing of the saved run's time or score.
void startTheClock(Game& g) {
  World& w = g.world;
  w.ElapsedSeconds = 0;
  w.LastDisturbance = 0;
  w.StableSeconds = 0;
  w.StabilityFactor = 0;
  w.PlanetFactor = 0;
  w.HighScore = 0;
  startClockAfresh(g);
  for (Control* c : {g.Label2, g.Label3, g.Label4, g.LaTT}) c->setCaption(textOf(0));
}

// Every timer as saved, then the running system's own: the seed and the Go blink
// stopped, the simulation and the clock running until the pause stops them.
void takeTimers(Game& g, const SystemSnapshot& s) {
  const int64_t now = g.clock.nowMs();
  for (Control* t : g.fs7.timers()) {
    const TimerSnapshot& ts = s.timers.at(t->name());
    t->setInterval(ts.interval);
    t->setEnabled(ts.enabled);
    if (ts.enabled) t->setDueMs(now + ts.dueInMs);
  }
  g.Tr->setEnabled(false);
  g.Timero->setEnabled(false);
  g.TiF->setEnabled(false);
  g.Ti->setEnabled(true);
}

// Pauses as a player does, the editor opening on the saved body. A system saved
// paused was paused already: the editor showed the saved body then, even one that
// "live only" would pass over now (switched off while shown), so it is not skipped.
void pauseOn(Game& g, bool savedPaused) {
  const int liveOnly = g.Chalive->value();
  if (savedPaused) setQuietly(*g.Chalive, 0);
  Command5_Click(g);
  if (savedPaused) setQuietly(*g.Chalive, liveOnly);
}

}  // namespace

std::optional<std::string> openSystem(Game& g, const SystemSnapshot& s) {
  if (auto why = checkSnapshot(g, s)) return why;
  // What takes memory comes first: when it runs out, the file is refused and the game
  // goes on as it was.
  std::vector<uint32_t> pixels;
  try {
    pixels = s.pixels;
  } catch (const std::bad_alloc&) {
    return std::string(kNoMemoryToOpen);
  }
  g.fs7.focus(nullptr);  // a field being typed in is left on the old system
  if (!resizeFor(g, s.windowWidth, s.windowHeight)) return std::string(kNoMemoryToOpen);
  g.surface.assign(std::move(pixels));
  leaveTheEditor(g);

  takeWorld(g, s);
  takePanel(g, s);
  g.editorMemory = {};
  takeTimers(g, s);
  g.speed.restore(s.speedLevel, s.idlePeriods);
  startTheClock(g);
  showSunIfChecked(g);

  g.Qui->setMax(kMaxBodies - 1);
  setValueQuietly(*g.Qui, s.shownBody);
  const bool savedPaused = !s.timers.at(g.Ti->name()).enabled;
  pauseOn(g, savedPaused);
  // A system saved paused had its pause already: the one run here only shows the
  // editor again, and whatever the bodies it passes were bounded to, the tables go
  // on exactly as saved.
  if (savedPaused) copySaved(s.world, g.world);
  return std::nullopt;
}

}  // namespace velmora
