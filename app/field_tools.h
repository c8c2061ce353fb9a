// Tools on the field while the game is paused: picking a body, moving it, aiming
// its momentum, putting it on an orbit and adding a body. Each goes through the
// editor's own controls and handlers, so it is exactly an edit the player could
// have made with the selector and the value fields.
#pragma once

#include <cstdint>
#include <optional>

#include "form/surface.h"

namespace velmora {

class Game;

enum class ToolOutcome {
  kDone,
  kNotAvailable,  // not paused with the editor open: nothing changed
  kNothingThere,  // a pick on empty field, an orbit with nothing pulling
  kTableFull,     // an add with every body of the tables in use
};

// A click selects the nearest live body within this many pixels on the screen.
inline constexpr double kPickPixels = 20;
inline constexpr double kPickTwipsAtScale1 = kPickPixels * kTwipsPerPixel;

// The nearest live body (on, 0..PlanetCount) within `radius` twips of (x, y).
std::optional<int16_t> liveBodyNear(const Game& g, double x, double y, double radius);

// The body the editor shows, while paused.
std::optional<int16_t> selectedBody(const Game& g);

// Selects the nearest live body within `radius` twips, as scrolling the selector
// to it would.
ToolOutcome pickAt(Game& g, double x, double y, double radius = kPickTwipsAtScale1);
// Types the position, held to the field, into the editor's X and Y fields, one
// stored edit each.
ToolOutcome dragTo(Game& g, double x, double y);
// Types the momentum, held to what the editor accepts, into its momentum fields.
ToolOutcome aimAt(Game& g, double mx, double my);
// Gives the selected body the momentum of a circular orbit about the body that
// pulls it most, through the editor's momentum fields.
ToolOutcome orbitSelected(Game& g);
// A new body at rest at (x, y), held to the field: the lowest planet that is off,
// else one more planet. It takes the panel's planet gravity and a colour drawn as
// "Go" draws one, and is selected.
ToolOutcome addBodyAt(Game& g, double x, double y);

}  // namespace velmora
