#include "app/timeline.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <iterator>
#include <limits>
#include <memory>
#include <utility>

#include "app/engine_events.h"
#include "app/time_control.h"
#include "app/typed_value.h"
#include "editor/editor.h"
#include "state/game.h"

namespace velmora {

namespace {

// Calls f with each of the ten tables, as a member of World.
template <class F>
void forEachTable(F&& f) {
  f(&World::PlanetX);
  f(&World::PlanetY);
  f(&World::MomentumX);
  f(&World::MomentumY);
  f(&World::PlanetGravity);
  f(&World::PlanetType);
  f(&World::PlanetRed);
  f(&World::PlanetGreen);
  f(&World::PlanetBlue);
  f(&World::PlanetOff);
}

// Bit for bit, as the tick sees them: 0 and -0 differ.
template <class T>
bool sameBits(const T& a, const T& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// The tables and the simulation settings; the clock and score are not part of a
// moment.
bool sameSimulation(const World& a, const World& b) {
  bool same = true;
  forEachTable([&](auto table) { same = same && sameBits(a.*table, b.*table); });
  return same && sameBits(a.GravityExponent, b.GravityExponent) && a.PlanetCount == b.PlanetCount &&
         a.PlanetRadius == b.PlanetRadius && a.BondRange == b.BondRange &&
         a.SunRadius == b.SunRadius && a.ImpactJitter == b.ImpactJitter &&
         a.ImpactJitterSpan == b.ImpactJitterSpan && a.StartSpin == b.StartSpin &&
         a.StartSpinSpan == b.StartSpinSpan && a.StartSpinQuarter == b.StartSpinQuarter &&
         a.BorderMomentumDivisor == b.BorderMomentumDivisor && a.SeedCounter == b.SeedCounter &&
         a.TaggedPlanet == b.TaggedPlanet && a.GoBlinkTicks == b.GoBlinkTicks;
}

// The entries that an edit changed from `was` to `is` take their `is` values in
// `w`; every other entry stays as `w` has it.
void applyEdit(World& w, const World& was, const World& is) {
  forEachTable([&](auto table) {
    for (int i = 0; i < kMaxBodies; ++i) {
      if (!sameBits((was.*table)[i], (is.*table)[i])) (w.*table)[i] = (is.*table)[i];
    }
  });
  if (was.PlanetCount != is.PlanetCount) w.PlanetCount = is.PlanetCount;
}

// `to` takes the tables and settings of `from` and keeps its own clock and score.
void takeSimulation(World& to, const World& from) {
  World clock = std::move(to);
  to = from;
  to.ElapsedSeconds = clock.ElapsedSeconds;
  to.LastDisturbance = clock.LastDisturbance;
  to.StableSeconds = clock.StableSeconds;
  to.StabilityFactor = clock.StabilityFactor;
  to.PlanetFactor = clock.PlanetFactor;
  to.HighScore = clock.HighScore;
  to.TopScore = clock.TopScore;
  to.TallyValue2 = clock.TallyValue2;
  to.ClockText = std::move(clock.ClockText);
  to.ClockHour = clock.ClockHour;
  to.ClockMinute = clock.ClockMinute;
  to.ClockSecond = clock.ClockSecond;
  to.StartHour = clock.StartHour;
  to.StartMinute = clock.StartMinute;
  to.StartSecond = clock.StartSecond;
}

size_t textBytes(const std::map<std::string, std::string>& texts) {
  size_t n = 0;
  for (const auto& [id, text] : texts) n += id.capacity() + text.capacity() + 64;
  return n;
}

size_t snapshotBytes(const SystemSnapshot& s) {
  return sizeof(SystemSnapshot) + s.rngState.capacity() + textBytes(s.texts) +
         textBytes(s.accepted) + (s.checks.size() + s.timers.size()) * 64;
}

std::string outside(long long tick, long long first, long long last) {
  return "tick " + std::to_string(tick) + " is outside the timeline " + std::to_string(first) +
         ".." + std::to_string(last);
}

double nowMs() {
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

Timeline::Settings Timeline::settingsOf(const Game& g) {
  Settings s;
  for (const auto& c : g.fs7.controls()) {
    switch (c->kind()) {
      case Kind::TextBox:
        s.texts.push_back(c->text());
        break;
      case Kind::CheckBox:
      case Kind::OptionButton:
      case Kind::ScrollBar:
        s.values.push_back(c->value());
        break;
      default:
        break;
    }
  }
  s.width = g.W();
  s.height = g.H();
  s.pictureGeneration = g.surface.generation();
  s.draws = g.rng.draws();
  return s;
}

Timeline::Selector Timeline::selectorOf(const Game& g) {
  return {g.Qui->value(), g.Qui->max()};
}

// Its Change shows the body, as a scroll there does.
void Timeline::select(Game& g, Selector s) {
  g.Qui->setMax(std::max(s.max, g.Qui->value()));
  g.Qui->setValue(s.value);
  g.Qui->setMax(s.max);
}

void Timeline::remember(const Game& g, State& into) {
  into.world = g.world;
  into.settings = settingsOf(g);
}

bool Timeline::same(const Game& g, const State& state) {
  return sameSimulation(g.world, state.world) && settingsOf(g) == state.settings;
}

void Timeline::attach(Game& g) {
  // An event of the player's or a handler may change what the next tick starts
  // from; the timers' own ticks change it only through a field or the picture.
  for (const auto& c : g.fs7.controls()) {
    if (c->kind() == Kind::Timer) continue;
    for (Control::Handler* h : {&c->onClick, &c->onDblClick, &c->onLostFocus, &c->onChange}) {
      if (*h) {
        *h = [this, inner = std::move(*h)] {
          touched_ = true;
          inner();
        };
      }
    }
  }
  g.fs7.observe([this, ti = g.Ti](Control& c, Prop prop) {
    if (prop == Prop::Text || prop == Prop::Value || (&c == ti && prop == Prop::Enabled)) {
      touched_ = true;
    }
  });
  g.fs7.observeForm([this](Form&, Prop prop) {
    if (prop == Prop::Width || prop == Prop::Height) touched_ = true;
  });
}

void Timeline::restart(Game& g) {
  keyframes_.clear();
  keptBytes_ = 0;
  forgetPictures();
  tick_ = 0;
  latest_ = 0;
  forgetEdits();
  record(g);
  settle(g);
}

void Timeline::forget() {
  keyframes_.clear();
  keyframes_.shrink_to_fit();
  keptBytes_ = 0;
  forgetPictures();
  tick_ = 0;
  latest_ = 0;
  arrived_ = false;
  forgetEdits();
}

void Timeline::settle(const Game& g) {
  touched_ = false;
  arrived_ = false;
  pictureGeneration_ = g.surface.generation();
  draws_ = g.rng.draws();
}

bool Timeline::touched(const Game& g) const {
  return touched_ || g.surface.generation() != pictureGeneration_ || g.rng.draws() != draws_;
}

bool Timeline::keyframeDue() const {
  if (spacing_ > 0) return tick_ - keyframes_.back().tick >= spacing_;
  return ticksMs_ * kKeyframeShare >= keyframeMs_;
}

long long Timeline::last(const Game& g) const {
  return editedHere(g) ? tick_ : latest_;
}

size_t Timeline::keyframeBytes() const {
  return keptBytes_ + keyframes_.capacity() * sizeof(Keyframe) +
         (lastPicture_.capacity() + room_.capacity()) * sizeof(uint32_t);
}

void Timeline::forgetLastPicture() {
  lastPicture_.clear();
  lastPicture_.shrink_to_fit();
}

void Timeline::forgetPictures() {
  forgetLastPicture();
  room_.clear();
  room_.shrink_to_fit();
}

// Keyframes since the last whole picture.
int Timeline::chainLength() const {
  int n = 0;
  for (size_t i = keyframes_.size(); i-- > 0 && keyframes_[i].change;) ++n;
  return n;
}

// The whole picture before it, then the changes since. keyframes_[0] is whole.
std::vector<uint32_t> Timeline::pictureOf(size_t keyframe) const {
  size_t whole = keyframe;
  while (keyframes_[whole].change) --whole;
  std::vector<uint32_t> pixels = unpackPicture(keyframes_[whole].picture);
  for (size_t i = whole + 1; i <= keyframe; ++i) applyChange(pixels, *keyframes_[i].change);
  return pixels;
}

// The keyframe after one that goes keeps its picture: its change joins the one
// gone, or it becomes whole where the one gone was (or where joined they would
// keep more than a whole picture does).
void Timeline::dropKeyframe(size_t keyframe) {
  const size_t next = keyframe + 1;
  if (next < keyframes_.size() && keyframes_[next].change) {
    Keyframe& k = keyframes_[next];
    keptBytes_ -= k.bytes;
    const size_t ownBytes = k.bytes - k.change->bytes();
    std::optional<PictureChange> joined;
    if (keyframes_[keyframe].change) {
      joined = joinChanges(*keyframes_[keyframe].change, *k.change);
      if (joined->words.size() > joined->pixelCount / kMostChangeShare) joined.reset();
    }
    if (!joined) k.picture = packPicture(pictureOf(next), room_);
    k.change = std::move(joined);
    k.bytes = ownBytes + k.picture.bytes() + (k.change ? k.change->bytes() : 0);
    keptBytes_ += k.bytes;
  }
  keptBytes_ -= keyframes_[keyframe].bytes;
  keyframes_.erase(keyframes_.begin() + static_cast<std::ptrdiff_t>(keyframe));
}

size_t Timeline::bytes() const {
  return keyframeBytes() + (undo_.capacity() + redo_.capacity()) * sizeof(Edit);
}

void Timeline::setBudget(size_t bytes) {
  budget_ = bytes;
  thin();
}

std::vector<long long> Timeline::keyframeTicks() const {
  std::vector<long long> ticks;
  for (const Keyframe& k : keyframes_) ticks.push_back(k.tick);
  return ticks;
}

void Timeline::beforeTick(Game& g) {
  if (!started()) return;
  forgetEdits();
  if (tick_ < latest_) dropAfter(tick_);  // a new branch from an earlier moment
  if (touched(g) || arrived_ || keyframeDue()) record(g);
  tickStartMs_ = nowMs();
}

void Timeline::afterTick(Game& g) {
  if (!started()) return;
  ticksMs_ += nowMs() - tickStartMs_;
  ++tick_;
  latest_ = tick_;
  settle(g);
}

void Timeline::record(const Game& g) {
  const double startMs = nowMs();
  auto system = std::make_unique<SystemSnapshot>(captureSystem(g));
  // Taken out, not cleared: a cleared vector would keep the whole picture's room.
  std::vector<uint32_t> pixels = std::exchange(system->pixels, {});
  while (!keyframes_.empty() && keyframes_.back().tick >= tick_) {  // this moment anew
    keptBytes_ -= keyframes_.back().bytes;
    keyframes_.pop_back();
    forgetLastPicture();
  }
  Keyframe k;
  k.tick = tick_;
  if (!keyframes_.empty() && !lastPicture_.empty() && chainLength() < kLongestChain) {
    k.change = changeBetween(lastPicture_, pixels, pixels.size() / kMostChangeShare, room_);
  }
  if (!k.change) k.picture = packPicture(pixels, room_);
  k.bytes = snapshotBytes(*system) + k.picture.bytes() + (k.change ? k.change->bytes() : 0);
  k.system = std::move(system);
  lastPicture_ = std::move(pixels);
  keptBytes_ += k.bytes;
  keyframes_.push_back(std::move(k));
  thin();
  keyframeMs_ = nowMs() - startMs;
  ticksMs_ = 0;
}

void Timeline::dropAfter(long long tick) {
  while (keyframes_.size() > 1 && keyframes_.back().tick > tick) {
    keptBytes_ -= keyframes_.back().bytes;
    keyframes_.pop_back();
    forgetLastPicture();
  }
  latest_ = tick;
}

// Over the budget, keyframes go one at a time: each time the one whose going leaves
// the shortest stretch to replay, a stretch in the recent minute counting double. So
// the keyframes stay evenly spread, twice as close in the recent minute, and no seek
// replays much more than another. The moment of "Go" and the latest keyframe stay.
void Timeline::thin() {
  while (keyframeBytes() > budget_ && keyframes_.size() > 2) {
    const long long recentFrom = keyframes_.back().tick - kRecentTicks;
    size_t drop = 1;
    long long shortest = std::numeric_limits<long long>::max();
    for (size_t i = 1; i + 1 < keyframes_.size(); ++i) {
      const long long stretch = keyframes_[i + 1].tick - keyframes_[i - 1].tick;
      const long long weighed = keyframes_[i].tick >= recentFrom ? 2 * stretch : stretch;
      if (weighed < shortest) {
        shortest = weighed;
        drop = i;
      }
    }
    dropKeyframe(drop);
  }
}

bool Timeline::editedHere(const Game& g) const {
  return arrived_ ? !same(g, shown_) : touched(g);
}

std::optional<std::string> Timeline::seek(Game& g, long long tick, const Progress& progress) {
  if (!started()) return std::string("there is no system yet");
  if (!pausedForEditing(g)) return std::string("the game is not paused");
  if (tick < first() || tick > last(g)) return outside(tick, first(), last(g));
  applyTypedValue(g);
  if (editedHere(g)) {
    // The edits made here belong to this moment; what came after it is gone.
    if (tick > tick_) return outside(tick, first(), tick_);
    dropAfter(tick_);
    record(g);
    remember(g, shown_);
    arrived_ = true;
  }
  if (tick != tick_) goTo(g, tick, progress);
  return std::nullopt;
}

std::optional<std::string> Timeline::back(Game& g, const Progress& progress) {
  if (started() && tick_ == first()) return std::string("the timeline is at its start");
  return seek(g, tick_ - 1, progress);
}

std::optional<std::string> Timeline::openKeyframe(size_t index, Game& other) const {
  SystemSnapshot system = *keyframes_.at(index).system;
  system.pixels = pictureOf(index);
  if (auto why = openSystem(other, system)) return why;
  takeSimulation(other.world, system.world);
  return std::nullopt;
}

void Timeline::goTo(Game& g, long long tick, const Progress& progress) {
  const auto after = std::upper_bound(keyframes_.begin(), keyframes_.end(), tick,
                                      [](long long t, const Keyframe& k) { return t < k.tick; });
  const Keyframe& from = *std::prev(after);
  SystemSnapshot system = *from.system;
  system.pixels = pictureOf(static_cast<size_t>(std::distance(keyframes_.begin(), after) - 1));
  // The speed is the player's choice, as the zoom is, not part of a moment.
  system.speedLevel = g.speed.level();
  system.idlePeriods = g.speed.idlePeriods();
  openSystem(g, system);  // a moment this game captured always opens
  // Opening pauses, and a pause shows a body, which writes into its tables: the
  // moment's own tables are the ones replay starts from.
  takeSimulation(g.world, system.world);
  tick_ = from.tick;
  const long long total = tick - from.tick;
  for (; tick_ < tick; ++tick_) {
    if (progress && (tick_ - from.tick) % kProgressTicks == 0) progress(tick_ - from.tick, total);
    Ti_Timer(g);
  }
  // Shown as a pause at this moment shows it.
  Command5_Click(g);
  Command5_Click(g);
  forgetEdits();
  // What replay gives is not quite what a pause shows: a tick from here records it.
  settle(g);
  arrived_ = true;
  remember(g, shown_);
}

// Each edit holds two worlds: their room goes back too, not only the entries.
void Timeline::forgetEdits() {
  undo_.clear();
  undo_.shrink_to_fit();
  redo_.clear();
  redo_.shrink_to_fit();
}

void Timeline::editBegin(const Game& g) {
  if (editDepth_++ == 0) {
    beforeEdit_ = g.world;
    rngBeforeEdit_ = g.rng;
    selectorBeforeEdit_ = selectorOf(g);
  }
}

void Timeline::editEnd(const Game& g) {
  if (--editDepth_ != 0 || !started() || sameSimulation(beforeEdit_, g.world)) return;
  undo_.push_back(
      {std::move(beforeEdit_), g.world, rngBeforeEdit_, g.rng, selectorBeforeEdit_, selectorOf(g)});
  if (undo_.size() > static_cast<size_t>(kUndoDepth)) undo_.erase(undo_.begin());
  redo_.clear();
}

std::optional<std::string> Timeline::undo(Game& g) {
  return takeEdit(g, undo_, redo_, "nothing to undo");
}

std::optional<std::string> Timeline::redo(Game& g) {
  return takeEdit(g, redo_, undo_, "nothing to redo");
}

std::optional<std::string> Timeline::takeEdit(Game& g, std::vector<Edit>& from,
                                              std::vector<Edit>& to, const char* none) {
  if (!pausedForEditing(g)) return std::string("the game is not paused");
  applyTypedValue(g);  // a value typed and not yet left is the last edit
  if (from.empty()) return std::string(none);
  Edit e = std::move(from.back());
  from.pop_back();
  applyEdit(g.world, e.after, e.before);
  if (g.rng.draws() == e.rngAfter.draws()) g.rng = e.rngBefore;
  ++editDepth_;  // showing the body again is no edit of its own
  select(g, e.selectorBefore);
  Asgard(g);
  VivaVida(g);
  --editDepth_;
  touched_ = true;
  to.push_back({std::move(e.after), std::move(e.before), std::move(e.rngAfter),
                std::move(e.rngBefore), e.selectorAfter, e.selectorBefore});
  return std::nullopt;
}

TimelineEdit::TimelineEdit(Game& g) : g_(g) {
  g_.timeline->editBegin(g_);
}

TimelineEdit::~TimelineEdit() {
  g_.timeline->editEnd(g_);
}

}  // namespace velmora
