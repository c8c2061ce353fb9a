#include "app/end_screen.h"
#include <cstdint>

#include "app/game.h"

namespace velmora {

// Not built yet.
void Command1_Click(Game&) {}
void WebBit(Game&) {}
void Command3_Click(Game&) {}
void Command6_Click(Game&) {}
void ImMoon_Click(Game&) {}
void FormEnd_Command1_Click(Game&, int) {}
void FormEnd_Command2_Click(Game&) {}

}  // namespace velmora
