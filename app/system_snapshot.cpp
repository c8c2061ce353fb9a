// Capturing a started system and checking a snapshot before it is opened.
#include "app/system_snapshot.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "state/game.h"

namespace velmora {

namespace {

std::set<std::string> idsOf(const Form& f, Kind kind) {
  std::set<std::string> ids;
  for (const auto& c : f.controls()) {
    if (c->kind() == kind) ids.insert(c->id());
  }
  return ids;
}

template <class Map>
std::set<std::string> keysOf(const Map& m) {
  std::set<std::string> keys;
  for (const auto& [k, v] : m) keys.insert(k);
  return keys;
}

// Names the first key missing from `have` or not in `want`.
std::optional<std::string> sameKeys(const std::set<std::string>& want,
                                    const std::set<std::string>& have, const std::string& what) {
  for (const auto& k : want) {
    if (!have.contains(k)) return what + " " + k + " is missing";
  }
  for (const auto& k : have) {
    if (!want.contains(k)) return what + " " + k + " is not one of this game's";
  }
  return std::nullopt;
}

// Characters, not bytes: a UTF-8 text counts its lead bytes.
size_t characters(const std::string& text) {
  return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

std::string within(long long lo, long long hi) {
  return std::to_string(lo) + ".." + std::to_string(hi);
}

template <class T>
std::optional<std::string> finiteTable(const Table<T>& t, const char* name) {
  for (int i = 0; i < kMaxBodies; ++i) {
    if (!std::isfinite(t[i]))
      return std::string(name) + "(" + std::to_string(i) + ") is not finite";
  }
  return std::nullopt;
}

std::optional<std::string> checkWorld(const World& w) {
  if (w.PlanetCount < 0 || w.PlanetCount > kMaxBodies - 1) {
    return "the planet count " + std::to_string(w.PlanetCount) + " is outside " +
           within(0, kMaxBodies - 1);
  }
  const std::pair<const Table<double>*, const char*> doubles[] = {
      {&w.PlanetX, "PlanetX"},
      {&w.PlanetY, "PlanetY"},
      {&w.MomentumX, "MomentumX"},
      {&w.MomentumY, "MomentumY"},
      {&w.PlanetGravity, "PlanetGravity"},
      {&w.PlanetType, "PlanetType"}};
  for (const auto& [table, name] : doubles) {
    if (auto why = finiteTable(*table, name)) return why;
  }
  const std::pair<const Table<float>*, const char*> floats[] = {
      {&w.PlanetRed, "PlanetRed"}, {&w.PlanetGreen, "PlanetGreen"}, {&w.PlanetBlue, "PlanetBlue"}};
  for (const auto& [table, name] : floats) {
    if (auto why = finiteTable(*table, name)) return why;
  }
  for (int i = 0; i < kMaxBodies; ++i) {
    if (w.PlanetOff[i] < 0 || w.PlanetOff[i] > 2) {
      return "PlanetOff(" + std::to_string(i) + ") " + std::to_string(w.PlanetOff[i]) +
             " is outside 0..2";
    }
  }
  if (!std::isfinite(w.GravityExponent)) return std::string("GravityExponent is not finite");
  if (w.BorderMomentumDivisor < 1 || w.BorderMomentumDivisor > 2) {
    return "BorderMomentumDivisor " + std::to_string(w.BorderMomentumDivisor) + " is outside 1..2";
  }
  return std::nullopt;
}

std::optional<std::string> checkPanel(const Game& g, const SystemSnapshot& s) {
  const auto textIds = idsOf(g.fs7, Kind::TextBox);
  if (auto why = sameKeys(textIds, keysOf(s.texts), "the text of")) return why;
  for (const auto& [id, text] : s.texts) {
    if (characters(text) > kMaxSavedTextLength) {
      return "the text of " + id + " is longer than " + std::to_string(kMaxSavedTextLength) +
             " characters";
    }
  }
  if (auto why = sameKeys(idsOf(g.fs7, Kind::CheckBox), keysOf(s.checks), "the check box")) {
    return why;
  }
  for (const auto& [id, value] : s.checks) {
    if (value < 0 || value > 2) {
      return "the check box " + id + " " + std::to_string(value) + " is outside 0..2";
    }
  }
  if (s.borderOption < -1 || s.borderOption >= static_cast<int>(g.Och.size())) {
    return "the border option " + std::to_string(s.borderOption) + " is outside -1..6";
  }
  for (const auto& [id, text] : s.accepted) {
    if (!textIds.contains(id)) return "the accepted text of " + id + " is not one of this game's";
    if (characters(text) > kMaxSavedTextLength) {
      return "the accepted text of " + id + " is longer than " +
             std::to_string(kMaxSavedTextLength) + " characters";
    }
  }
  return std::nullopt;
}

std::optional<std::string> checkTimers(const Game& g, const SystemSnapshot& s) {
  std::set<std::string> names;
  for (const Control* t : g.fs7.timers()) names.insert(t->name());
  if (auto why = sameKeys(names, keysOf(s.timers), "the timer")) return why;
  for (const auto& [name, t] : s.timers) {
    if (t.interval < 0 || t.interval > 65535) {
      return "the period of " + name + " " + std::to_string(t.interval) + " is outside 0..65535";
    }
    if (t.dueInMs < 0 || t.dueInMs > t.interval) {
      return "the next tick of " + name + " in " + std::to_string(t.dueInMs) +
             " ms is outside 0.." + std::to_string(t.interval);
    }
  }
  return std::nullopt;
}

std::optional<std::string> checkPicture(const SystemSnapshot& s) {
  const int w = Surface::fieldWidthFor(s.windowWidth);
  const int h = Surface::fieldHeightFor(s.windowHeight);
  if (s.pictureWidth != w || s.pictureHeight != h) {
    return "the picture is " + std::to_string(s.pictureWidth) + " x " +
           std::to_string(s.pictureHeight) + " pixels, not the field's " + std::to_string(w) +
           " x " + std::to_string(h);
  }
  if (s.pixels.size() != static_cast<size_t>(w) * h) return std::string("the picture is cut short");
  return std::nullopt;
}

}  // namespace

bool hasSystem(const Game& g) {
  return g.panelMemory.systemStarted;
}

SystemSnapshot captureSystem(const Game& g) {
  SystemSnapshot s;
  s.windowWidth = g.W();
  s.windowHeight = g.H();
  // The tables and settings only; the clock and score fields stay at 0.
  World& w = s.world;
  const World& from = g.world;
  w.PlanetX = from.PlanetX;
  w.PlanetY = from.PlanetY;
  w.MomentumX = from.MomentumX;
  w.MomentumY = from.MomentumY;
  w.PlanetGravity = from.PlanetGravity;
  w.PlanetType = from.PlanetType;
  w.PlanetRed = from.PlanetRed;
  w.PlanetGreen = from.PlanetGreen;
  w.PlanetBlue = from.PlanetBlue;
  w.PlanetOff = from.PlanetOff;
  w.PlanetCount = from.PlanetCount;
  w.GravityExponent = from.GravityExponent;
  w.PlanetRadius = from.PlanetRadius;
  w.BondRange = from.BondRange;
  w.SunRadius = from.SunRadius;
  w.ImpactJitter = from.ImpactJitter;
  w.ImpactJitterSpan = from.ImpactJitterSpan;
  w.StartSpin = from.StartSpin;
  w.StartSpinSpan = from.StartSpinSpan;
  w.StartSpinQuarter = from.StartSpinQuarter;
  w.BorderMomentumDivisor = from.BorderMomentumDivisor;
  w.SeedCounter = from.SeedCounter;
  w.TaggedPlanet = from.TaggedPlanet;
  w.GoBlinkTicks = from.GoBlinkTicks;

  s.rngState = g.rng.state();
  s.rngDraws = g.rng.draws();

  for (const auto& c : g.fs7.controls()) {
    if (c->kind() == Kind::TextBox) {
      s.texts[c->id()] = c->text();
      if (const std::string* accepted = g.panelMemory.accepted(*c)) s.accepted[c->id()] = *accepted;
    } else if (c->kind() == Kind::CheckBox) {
      s.checks[c->id()] = c->value();
    }
  }
  for (int i = 0; i < static_cast<int>(g.Och.size()); ++i) {
    if (g.Och[i]->selected()) {
      s.borderOption = i;
      break;
    }
  }

  const int64_t now = g.clock.nowMs();
  for (const Control* t : g.fs7.timers()) {
    TimerSnapshot& ts = s.timers[t->name()];
    ts.interval = t->interval();
    ts.enabled = t->enabled();
    ts.dueInMs = t->enabled() ? std::clamp<int64_t>(t->dueMs() - now, 0, t->interval()) : 0;
  }

  s.shownBody = g.Qui->value();
  s.pictureWidth = g.surface.width();
  s.pictureHeight = g.surface.height();
  s.pixels = g.surface.pixels();
  return s;
}

std::optional<std::string> checkSnapshot(const Game& g, const SystemSnapshot& s) {
  if (s.windowWidth <= kFieldLeft || s.windowWidth > kMaxSavedWindowExtent) {
    return "the window width " + std::to_string(s.windowWidth) + " is outside " +
           within(kFieldLeft + 1, kMaxSavedWindowExtent) + " twips";
  }
  if (s.windowHeight <= kFieldBottomGap || s.windowHeight > kMaxSavedWindowExtent) {
    return "the window height " + std::to_string(s.windowHeight) + " is outside " +
           within(kFieldBottomGap + 1, kMaxSavedWindowExtent) + " twips";
  }
  if (auto why = checkWorld(s.world)) return why;
  if (Rng probe; !probe.restore(s.rngState, s.rngDraws)) {
    return std::string("the random generator's state is not one");
  }
  if (auto why = checkPanel(g, s)) return why;
  if (auto why = checkTimers(g, s)) return why;
  if (s.shownBody < 0 || s.shownBody > kMaxBodies - 1) {
    return "the editor's body " + std::to_string(s.shownBody) + " is outside " +
           within(0, kMaxBodies - 1);
  }
  return checkPicture(s);
}

}  // namespace velmora
