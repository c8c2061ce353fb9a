// The border rules, as the option group Och numbers them: what happens to a body
// that leaves the playing field. sim/border.cpp applies them; the main window gives
// each its caption and tip (app/main_window.cpp), in one table of this length.
#pragma once

namespace velmora {

enum BorderOption : int {
  kSlomo = 0,  // wrap, the momentum across the edge divided (Slomo: by 2)
  kWall,       // bounce
  kWrap,       // wrap to the other side
  kComet,      // bounce, losing half the momentum across the edge
  kChaos,      // bounce to a random place along the edge
  kFourDim,    // relaunch through the "4th dimension"
  kDie,        // switched off where it crossed
  kBorderOptionCount
};

}  // namespace velmora
