// What "Go" converts to whole numbers, read and checked before the handler
// changes anything, so that a panel it cannot use is left exactly as it is.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace velmora {

class Game;

struct StartReadings {
  int16_t sunRadius;     // TXsrad, strict
  int16_t taggedPlanet;  // Text7
  int16_t impactJitter;  // Text4
  int16_t impactJitterSpan;
  int16_t bondRange;  // Text5
  int16_t startSpin;  // Text2
  int16_t startSpinSpan;
  int16_t startSpinQuarter;
  int16_t planetRadius;  // Text1
  int32_t tickMs;        // TXt
};

// The readings, or the text that tells the player which field to correct.
std::variant<StartReadings, std::string> readStart(const Game& g);

}  // namespace velmora
