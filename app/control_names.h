// What a screen reader says for each control of the main window: a name that
// tells it apart from every other control and a description of what it does.
// Controls whose own caption and tip say this well have no row.
#pragma once

#include <string>
#include <vector>

namespace velmora {

class Control;
class Game;

enum class Voice {
  Plain,
  // A statistics label: its caption is a value that changes, the name says what
  // the value is.
  Readout,
  // A field the game leaves without a caption: the window shows the name above it.
  ShownAbove,
};

struct ControlName {
  const Control* control = nullptr;
  std::string name;         // empty: the control's caption
  std::string description;  // empty: the control's tip
  Voice voice = Voice::Plain;
};

struct SpokenText {
  std::string name;
  std::string description;
};

// The rows of the main window's controls.
std::vector<ControlName> controlNames(const Game& g);

// The row of `c` in `names`, or none.
const ControlName* rowOf(const std::vector<ControlName>& names, const Control& c);

// The name and description of `c`: its row, where one gives them, else its caption
// (runs of blanks read as one) and its tip. A control without a description is
// described by its name.
SpokenText spokenTextOf(const std::vector<ControlName>& names, const Control& c);

}  // namespace velmora
