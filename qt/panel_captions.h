// Short captions the window draws over the panel fields that the game leaves
// bare (only their tips say what they are), and what a screen reader calls each
// control; both come from the main window's table of names (app/control_names.h).
#pragma once

#include <QString>
#include <vector>

#include "app/control_names.h"
#include "qt/form_binder.h"

namespace velmora {
class Game;
class Control;
}  // namespace velmora

namespace velmora::qt {

struct FieldCaption {
  const Control* field;
  QString text;
  // The game's own caption in the same place, hidden at start; ours gives way to it.
  const Control* gameCaption = nullptr;
};

std::vector<FieldCaption> bareFieldCaptions(const Game& g);

// The name and description of a control of the main window.
AccessibleText accessibleTextOf(const std::vector<ControlName>& names, const Control& c);

}  // namespace velmora::qt
