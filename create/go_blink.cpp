// The blinking "Go" button of the start layout.
#include "create/create.h"
#include "panel/spin_default.h"
#include "state/game.h"

namespace velmora {

void Timero_Timer(Game& g) {
  World& w = g.world;
  if (w.GoBlinkTicks > 999) g.Timero->setEnabled(false);
  if (w.GoBlinkTicks < kSpinFittingBlinks) {
    // Fits the default start angular momentum to the window; not an entry, so
    // Text2's own handler does not run, but a refused entry falls back to it.
    g.Text2->setText(spinForWidth(200000, g.W()));
    g.panelMemory.remember(*g.Text2);
  }
  ++w.GoBlinkTicks;
  const bool light = w.GoBlinkTicks % 10 == 0;
  g.Command2->setBackColor(light ? Rgb{191, 255, 127} : Rgb{63, 144, 0});
}

}  // namespace velmora
