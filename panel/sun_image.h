// Placing a picture centred on a point of the window, in whole twips.
#pragma once

namespace velmora {

class Control;

// Left = x - width / 2, then top = y - height / 2, each rounded half to even and
// held within the range of a twips coordinate; a NaN leaves that edge alone.
void centreImageOn(Control& image, double x, double y);

}  // namespace velmora
