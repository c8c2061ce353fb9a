#include "qt/panel_captions.h"

#include "state/game.h"

namespace velmora::qt {

namespace {

// The game's label standing right above a field, which takes the place of ours
// when the game shows it.
const Control* gameCaptionOver(const Game& g, const Control& field) {
  for (const auto& other : g.fs7.controls()) {
    if (other->kind() == Kind::Label && other->container() == field.container() &&
        other->left() == field.left() && other->top() + other->height() == field.top()) {
      return other.get();
    }
  }
  return nullptr;
}

}  // namespace

std::vector<FieldCaption> bareFieldCaptions(const Game& g) {
  std::vector<FieldCaption> captions;
  for (const ControlName& row : controlNames(g)) {
    if (row.voice != Voice::ShownAbove) continue;
    captions.push_back(
        {row.control, QString::fromStdString(row.name), gameCaptionOver(g, *row.control)});
  }
  return captions;
}

AccessibleText accessibleTextOf(const std::vector<ControlName>& names, const Control& c) {
  const SpokenText text = spokenTextOf(names, c);
  return {QString::fromStdString(text.name), QString::fromStdString(text.description)};
}

}  // namespace velmora::qt
