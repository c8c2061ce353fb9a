// The random make-up of a new system: the planets' colours, places, momenta,
// gravities and types. The order of the draws is part of the behaviour: a frozen
// seed repeats a system only if the same draws come in the same order.
#pragma once

namespace velmora {

class Game;

// Three draws for planet i: red, green, blue, each 50..249.
void colourBody(Game& g, int i);
// Three draws per planet 1..PlanetCount (red, green, blue, each 50..249); then the
// sun's fixed colour.
void colourBodies(Game& g);

// Body type by gravity: above 0.03 Jupiter (1), above 0.002 Waterworld (2), above
// 0.0001 Lunar (3), else Asteroid (4).
double planetTypeOf(double gravity);

// A free placement that finds no place outside the sun's exclusion after this many
// attempts takes the last place drawn.
inline constexpr int kMaxPlacementAttempts = 10000;

// Places planets 1..PlanetCount around the sun at (PlanetX(0), PlanetY(0)) and
// gives each its gravity and type. `spread` is the nova's debris spread s; g1 and
// g3 the ends of the random gravity range.
void placePlanets(Game& g, double spread, double g1, double g3);

}  // namespace velmora
