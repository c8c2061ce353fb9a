// The clock tick: live bodies, elapsed and stable time, the score and the best
// scores, all written into the statistics labels.
#include <charconv>
#include <cstdint>
#include <string_view>

#include "form/convert.h"
#include "state/game.h"
#include "stats/score.h"
#include "stats/stats.h"

namespace velmora {

namespace {

// The two digits at `pos` of an "hh:mm:ss" text.
int16_t twoDigits(std::string_view text, std::size_t pos) {
  int value = 0;
  if (text.size() >= pos + 2) std::from_chars(text.data() + pos, text.data() + pos + 2, value);
  return static_cast<int16_t>(value);
}

// The sun is never counted.
int liveBodies(const World& w) {
  int live = 0;
  for (int i = 1; i <= w.PlanetCount; ++i) {
    if (w.PlanetOff[i] == 0) ++live;
  }
  return live;
}

}  // namespace

void TiK_Timer(Game& g) {
  World& w = g.world;
  const int live = liveBodies(w);

  const int secondOfDay = g.clock.secondOfDay();
  const bool clockChanged = g.clockWatch.changedSince(g.clock.nowMs(), secondOfDay);
  w.ClockText = formatTimeOfDay(secondOfDay);
  w.ClockSecond = twoDigits(w.ClockText, 6);
  w.ClockMinute = twoDigits(w.ClockText, 3);
  w.ClockHour = twoDigits(w.ClockText, 0);
  if (w.ClockHour < w.StartHour) w.ClockHour = static_cast<int16_t>(w.ClockHour + 24);

  // 32 bits, so a run longer than nine hours keeps counting.
  w.ElapsedSeconds = (int32_t{w.ClockHour} - w.StartHour) * 3600 +
                     (int32_t{w.ClockMinute} - w.StartMinute) * 60 +
                     (int32_t{w.ClockSecond} - w.StartSecond);
  // A changed clock is a disturbance: the stable time restarts from 0, so the
  // score of this tick is 0 and no forged elapsed time can make a record.
  if (clockChanged) w.LastDisturbance = w.ElapsedSeconds;
  // A clock set back would give a negative stable time; it restarts from 0.
  w.StableSeconds = w.ElapsedSeconds - w.LastDisturbance;
  if (w.StableSeconds < 0) w.StableSeconds = 0;

  const double stable = w.StableSeconds;
  w.StabilityFactor = stable * stable / 1000;
  w.PlanetFactor = static_cast<double>(live) * live / 1000;
  const double score = truncatedScore(w.PlanetFactor * w.StabilityFactor);

  if (score > w.HighScore) w.HighScore = score;
  if (score > w.TopScore) {
    w.TopScore = score;
    upHI(g);
  }

  g.Label3->setCaption(textOf(score));
  g.Label3->setToolTip(textOf(w.PlanetFactor));
  g.Label2->setCaption(textOf(w.ElapsedSeconds));
  g.Label2->setToolTip(textOf(w.StabilityFactor));
  g.Label4->setCaption(textOf(w.HighScore));
  g.Label5->setCaption(textOf(w.TopScore));
  g.LaTT->setCaption(textOf(w.StableSeconds));
  g.LaPL->setCaption(textOf(live));
  g.LaTT->repaint();
}

}  // namespace velmora
