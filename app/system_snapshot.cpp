// Capturing a started system and checking a snapshot before it is opened.
#include "app/system_snapshot.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <tuple>

#include "state/game.h"
#include "world/world_fields.h"

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

std::optional<std::string> outside(const char* name, long long v, WholeRange r,
                                   const char* unit = "") {
  if (v >= r.lo && v <= r.hi) return std::nullopt;
  std::string why =
      std::string(name) + " " + std::to_string(v) + " is outside " + within(r.lo, r.hi);
  if (*unit != 0) why += std::string(" ") + unit;
  return why;
}

std::optional<std::string> checkWorld(const World& w) {
  for (const ScalarField& f : worldScalars()) {
    if (!saved(f)) continue;
    const double v = numberOf(w, f);
    if (!isWhole(f)) {
      if (!std::isfinite(v)) return std::string(spokenName(f)) + " is not finite";
    } else if (auto why = outside(spokenName(f), static_cast<long long>(v), f.range)) {
      return why;
    }
  }
  for (const TableField& t : worldTables()) {
    for (int i = 0; i < kMaxBodies; ++i) {
      const double v = entryOf(w, t, i);
      const std::string entry = std::string(t.name) + "(" + std::to_string(i) + ")";
      if (!isWhole(t)) {
        if (!std::isfinite(v)) return entry + " is not finite";
      } else if (auto why = outside(entry.c_str(), static_cast<long long>(v), t.range)) {
        return why;
      }
    }
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
    // The simulation and the clock never run with a period of 0: a save never holds one.
    const int least = name == g.Ti->name() || name == g.TiK->name() ? 1 : 0;
    if (t.interval < least || t.interval > 65535) {
      return "the period of " + name + " " + std::to_string(t.interval) + " is outside " +
             within(least, 65535);
    }
    if (!t.enabled && t.dueInMs != 0) {
      return "the timer " + name + " is stopped, yet its next tick is in " +
             std::to_string(t.dueInMs) + " ms";
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

const SnapshotWhole kWholes[] = {
    {"window", "width", "the window width", "twips", &SystemSnapshot::windowWidth, kFieldLeft + 1,
     kMaxSavedWindowExtent},
    {"window", "height", "the window height", "twips", &SystemSnapshot::windowHeight,
     kFieldBottomGap + 1, kMaxSavedWindowExtent},
    {"panel", "border", "the border option", "", &SystemSnapshot::borderOption, -1,
     kBorderOptionCount - 1},
    {"editor", "body", "the editor's body", "", &SystemSnapshot::shownBody, 0, kMaxBodies - 1},
    {"speed", "level", "the speed level", "", &SystemSnapshot::speedLevel, TimeSpeed::kSlowest,
     TimeSpeed::kFastest},
    {"speed", "idlePeriods", "the speed's idle periods", "", &SystemSnapshot::idlePeriods, 0,
     (1 << -TimeSpeed::kSlowest) - 1},
};

}  // namespace

std::span<const SnapshotWhole> snapshotWholes() {
  return kWholes;
}

bool hasSystem(const Game& g) {
  return g.panelMemory.systemStarted;
}

SystemSnapshot captureSystem(const Game& g) {
  SystemSnapshot s;
  s.windowWidth = g.W();
  s.windowHeight = g.H();
  // The tables and settings only; the clock and score fields stay at 0.
  copySaved(g.world, s.world);

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
  s.borderOption = selectedBorder(g);

  const int64_t now = g.clock.nowMs();
  for (const Control* t : g.fs7.timers()) {
    TimerSnapshot& ts = s.timers[t->name()];
    ts.interval = t->interval();
    ts.enabled = t->enabled();
    ts.dueInMs = t->enabled() ? std::clamp<int64_t>(t->dueMs() - now, 0, t->interval()) : 0;
  }

  s.shownBody = g.Qui->value();
  s.speedLevel = g.speed.level();
  s.idlePeriods = g.speed.idlePeriods();
  s.pictureWidth = g.surface.width();
  s.pictureHeight = g.surface.height();
  s.pixels = g.surface.pixels();
  return s;
}

std::optional<std::string> checkSnapshot(const Game& g, const SystemSnapshot& s) {
  for (const SnapshotWhole& f : snapshotWholes()) {
    if (auto why = outside(f.spoken, s.*f.member, {f.lo, f.hi}, f.unit)) return why;
  }
  if (!TimeSpeed::isCyclePosition(s.speedLevel, s.idlePeriods)) {
    return "the speed's idle periods " + std::to_string(s.idlePeriods) + " are outside " +
           within(0, s.speedLevel >= 0 ? 0 : (1 << -s.speedLevel) - 1) + " at this speed";
  }
  if (auto why = checkWorld(s.world)) return why;
  if (auto why = Rng::stateFault(s.rngState)) return "the random generator's state " + *why;
  if (auto why = checkPanel(g, s)) return why;
  if (auto why = checkTimers(g, s)) return why;
  return checkPicture(s);
}

}  // namespace velmora
