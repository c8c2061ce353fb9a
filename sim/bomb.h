// Bomb: plots a body as one dot (mode 1) or throws 26 impact sparks (mode 2).
#pragma once

#include <cstdint>

#include "form/surface.h"
#include "world/rng.h"
#include "world/world.h"

namespace velmora {

// Bomb: Dx, Dy: the point in whole twips (the floor of a body's position); DnD: 1 dot of
// body Opl, 2 sparks between Dcol and Opl. Draws 2 random numbers in mode 1, 54 in
// mode 2. Positions are 32-bit, so no window size can overflow them.
void Bomb(int32_t Dx, int32_t Dy, int DnD, int Dcol, int Opl, const World& world, Rng& rng,
          Surface& surface);

// Floor of a position in twips as Bomb takes it. Saturates beyond the 32-bit range
// (such points lie off every surface anyway); a NaN gives the lowest value.
int32_t floorTwips(double position);

}  // namespace velmora
