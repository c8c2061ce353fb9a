#include "qt/panel_captions.h"

#include <optional>

#include "state/game.h"

namespace velmora::qt {

namespace {

QString qstr(const std::string& s) {
  return QString::fromStdString(s);
}

bool captionsItself(const Control& c) {
  switch (c.kind()) {
    case Kind::TextBox:
    case Kind::ScrollBar:
    case Kind::Timer:
      return false;
    default:
      return !c.caption().empty();
  }
}

bool overlapsVertically(const Control& a, const Control& b) {
  return a.top() < b.top() + b.height() && b.top() < a.top() + a.height();
}

// The game's caption of a field: a label standing right above it, or else the
// nearest captioned control to its left on the same line (a label or the field
// whose row a scroll bar shares).
const Control* neighbourOf(const Game& g, const Control& c) {
  const Control* left = nullptr;
  for (const auto& other : g.fs7.controls()) {
    if (other.get() == &c || other->container() != c.container()) continue;
    if (other->kind() == Kind::Label && other->left() == c.left() &&
        other->top() + other->height() == c.top() && !other->caption().empty()) {
      return other.get();
    }
    const bool besideIt =
        other->left() + other->width() <= c.left() && overlapsVertically(*other, c);
    const bool names = other->kind() == Kind::Label || other->kind() == Kind::TextBox;
    if (besideIt && names && (left == nullptr || other->left() > left->left())) left = other.get();
  }
  return left;
}

std::optional<FieldCaption> ownCaption(const Game& g, const Control& c) {
  for (const FieldCaption& caption : bareFieldCaptions(g)) {
    if (caption.field == &c) return caption;
  }
  return std::nullopt;
}

// For the controls that carry no tip of their own.
QString descriptionOf(const Game& g, const Control& c) {
  if (&c == g.TXw[0]) return "The number of planets, up to 999";
  if (&c == g.Text4) return "How far each planet's start is jittered";
  if (&c == g.Command2) return "Start the system";
  if (&c == g.Command5) return "Pause and edit the bodies, or resume";
  if (&c == g.Command1) return "Leave the game";
  if (&c == g.Qui) return "Step through the bodies";
  if (&c == g.Chon) return "Switch the body off or on";
  return {};
}

}  // namespace

std::vector<FieldCaption> bareFieldCaptions(const Game& g) {
  return {
      {g.TXw[0], "Planets"},
      {g.TXt, "ms per step", g.Label8},
      {g.TXg[kTxgExponent], "Law r^x", g.La[kLaExponent]},
      {g.TXg[kTxgPlanetGravityMost], "Max gravity"},
      {g.CHgr, "Random g"},
      {g.TXran, "Seed"},
      {g.TXref, "Clear every s"},
  };
}

AccessibleText accessibleTextOf(const Game& g, const Control& c) {
  AccessibleText text{qstr(c.caption()), qstr(c.toolTip())};
  const Control* neighbour = nullptr;
  if (!captionsItself(c)) {
    if (const auto own = ownCaption(g, c)) {
      text.name = own->text;
    } else if ((neighbour = neighbourOf(g, c)) != nullptr) {
      text.name = neighbour->kind() == Kind::TextBox ? accessibleTextOf(g, *neighbour).name
                                                     : qstr(neighbour->caption());
    }
  }
  if (text.description.isEmpty()) text.description = descriptionOf(g, c);
  if (text.description.isEmpty() && neighbour != nullptr) {
    text.description = qstr(neighbour->toolTip());
  }
  if (text.description.isEmpty()) text.description = text.name;
  if (text.name.isEmpty()) text.name = text.description;
  return text;
}

}  // namespace velmora::qt
