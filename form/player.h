// What a player does to a control, with the classic toolkit's consequences: a
// click moves the focus first (so the field being left runs its LostFocus), a check
// box toggles, an option button becomes the selected one of its group. Both faces
// go through these, so a script and a mouse do the same thing.
#pragma once

#include <string>

#include "form/control.h"

namespace velmora {

void playerClick(Control& control);
void playerDoubleClick(Control& control);
// Puts the focus in a text field and replaces its text; LostFocus comes later.
void playerType(Control& field, std::string text);
void playerLeave(Control& field);
void playerScroll(Control& bar, int value);

}  // namespace velmora
