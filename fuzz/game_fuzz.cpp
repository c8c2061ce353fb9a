// The whole game driven by random player actions: fields typed with any text (huge,
// negative, fractional, exponent, not numbers) and left, clicks, double clicks,
// scroll moves, waits, window sizes. After every action the world must stay sound.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "form/convert.h"
#include "form/player.h"
#include "form/scheduler.h"
#include "fuzz_check.h"
#include "quiet_host.h"
#include "state/game.h"
#include "testworlds/world_sound.h"

namespace {

using namespace velmora;

// Virtual time one input may spend: the tick runs up to a million pairs a period.
constexpr int64_t kMaxWaitPerInput = 500;  // ms
constexpr int kMaxActions = 200;

const std::array<const char*, 40> kTexts = {
    "",       "0",      "-0",       "1",      "-1",         "2",      "2.5",     "0.4",
    "2.6",    "15",     "144",      "999",    "1000",       "32767",  "32768",   "-32768",
    "-32769", "65535",  "65536",    "-65536", "1E-06",      "1E+300", "-1E+300", "1E+308",
    "1E309",  "1E-320", "0.000001", "5x",     "12abc",      "abc",    " 7 ",     "1e",
    "1E+",    ".",      "-.5",      "+3",     "2147483648", "1.5E4",  "9E18",    "1,5"};

std::string someText(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange(0, 4)) {
    case 0:
      return kTexts[in.ConsumeIntegralInRange<size_t>(0, kTexts.size() - 1)];
    case 1:
      return textOf(in.ConsumeFloatingPoint<double>());
    case 2:
      return std::to_string(in.ConsumeIntegral<int32_t>());
    case 3:
      return textOf(in.ConsumeFloatingPointInRange<double>(-100000, 100000));
    default:
      return in.ConsumeRandomLengthString(24);
  }
}

void checkSound(const Game& g) {
  const std::string problem = soak::unsoundness(g);
  if (!problem.empty()) {
    std::fprintf(stderr, "unsound: %s\n", problem.c_str());
    std::abort();
  }
}

struct Controls {
  explicit Controls(const Game& g) {
    for (const auto& c : g.fs7.controls()) {
      switch (c->kind()) {
        case Kind::TextBox:
          fields.push_back(c.get());
          break;
        case Kind::ScrollBar:
          bars.push_back(c.get());
          break;
        case Kind::Timer:
          break;
        default:
          clickable.push_back(c.get());
      }
      if (c->kind() != Kind::Timer) all.push_back(c.get());
    }
  }
  template <typename T>
  static Control& pick(FuzzedDataProvider& in, const std::vector<T>& from) {
    return *from[in.ConsumeIntegralInRange<size_t>(0, from.size() - 1)];
  }
  std::vector<Control*> fields, bars, clickable, all;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  VirtualClock clock;
  QuietHost host;
  MemoryTallyStorage tally;
  Game g(clock, host, tally);
  g.load();
  const Controls controls(g);
  checkSound(g);

  int64_t waited = 0;
  for (int action = 0; action < kMaxActions && in.remaining_bytes() > 0 && !host.ended; ++action) {
    switch (in.ConsumeIntegralInRange(0, 11)) {
      case 0:
      case 1: {  // type into a field, and usually leave it
        Control& f = Controls::pick(in, controls.fields);
        if (!f.available() || f.locked()) break;
        playerType(f, someText(in));
        if (in.ConsumeBool()) playerLeave(f);
        break;
      }
      case 2: {
        Control& f = Controls::pick(in, controls.fields);
        if (f.available()) playerLeave(f);
        break;
      }
      case 3:
      case 4: {
        Control& c = Controls::pick(in, controls.clickable);
        if (c.available()) playerClick(c);
        break;
      }
      case 5: {
        Control& c = Controls::pick(in, controls.all);
        if (c.available()) playerDoubleClick(c);
        break;
      }
      case 6: {
        Control& b = Controls::pick(in, controls.bars);
        if (!b.available()) break;
        const int value = in.ConsumeBool() ? in.ConsumeIntegralInRange(b.min() - 2, b.max() + 2)
                                           : in.ConsumeIntegral<int>();
        playerScroll(b, value);
        break;
      }
      case 7: {  // a pause of the player's, in virtual time
        const int64_t ms =
            std::min<int64_t>(in.ConsumeIntegralInRange(0, 1000), kMaxWaitPerInput - waited);
        waited += ms;
        advanceTimers(g.fs7, clock, ms, [&] { return host.ended; });
        break;
      }
      case 8: {  // the buttons that move the game on: a preset, Go, Pause
        Control* c = nullptr;
        switch (in.ConsumeIntegralInRange(0, 2)) {
          case 0:
            c = g.CDp[in.ConsumeIntegralInRange(0, 5)];
            break;
          case 1:
            c = g.Command2;
            break;
          default:
            c = g.Command5;
        }
        if (c->available()) playerClick(*c);
        break;
      }
      case 9: {  // a body editor field or the body number, then leave it
        Control* f = in.ConsumeBool() ? g.TXTOden : g.TXTp[in.ConsumeIntegralInRange(0, 4)];
        if (!f->available() || f->locked()) break;
        playerType(*f, someText(in));
        playerLeave(*f);
        break;
      }
      case 10:  // the window resized by the player, small to large
        g.resize(in.ConsumeIntegralInRange(0, 40000), in.ConsumeIntegralInRange(0, 30000));
        break;
      default:
        clock.setTimeOfDay(in.ConsumeIntegralInRange(0, 23), in.ConsumeIntegralInRange(0, 59),
                           in.ConsumeIntegralInRange(0, 59));
    }
    checkSound(g);
  }
  return 0;
}
