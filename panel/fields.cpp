// The fields that store a 16-bit whole-number setting when they lose focus. An
// entry whose whole number does not fit (or, for the jitter, whose 2k + 1 does
// not) stores nothing: the setting keeps its value and the field its last
// accepted text.
#include <cmath>
#include <optional>

#include "form/convert.h"
#include "panel/panel.h"
#include "panel/planet_count.h"
#include "state/game.h"

namespace velmora {

namespace {

std::optional<int16_t> wholeOf(const Control& field) {
  return wholeNumber16(numberOf(field.text()));
}

void accept(Game& g, const Control& field) {
  g.panelMemory.remember(field);
}

void refuse(Game& g, Control& field) {
  g.panelMemory.restore(field);
}

}  // namespace

void rememberPanelTexts(Game& g) {
  for (const Control* field : {g.Text1, g.Text2, g.Text4, g.Text5, g.Text7}) {
    g.panelMemory.remember(*field);
  }
}

void Text1_LostFocus(Game& g) {
  const auto r = wholeOf(*g.Text1);
  if (!r) return refuse(g, *g.Text1);
  const int16_t radius = *r < 1 ? int16_t{1} : *r;
  g.world.PlanetRadius = radius;
  g.Text1->setText(textOf(radius));
  accept(g, *g.Text1);
}

void Text2_LostFocus(Game& g) {
  const double spread = std::fabs(numberOf(g.Text2->text()));
  const auto spin = wholeNumber16(spread);
  if (!spin) return refuse(g, *g.Text2);
  g.Text2->setText(textOf(spread));
  g.world.StartSpin = *spin;
  g.world.StartSpinQuarter = *wholeNumber16(*spin / 4.0);
  accept(g, *g.Text2);
}

void Text4_LostFocus(Game& g) {
  const auto k = wholeOf(*g.Text4);
  const auto span = k ? wholeNumber16(2.0 * *k + 1) : std::nullopt;
  if (!span) return refuse(g, *g.Text4);
  g.world.ImpactJitter = *k;
  g.world.ImpactJitterSpan = *span;
  accept(g, *g.Text4);
}

void Text4_DblClick(Game& g) {
  g.Text4->setText(textOf(numberOf(g.Text4->text()) - 1));
  if (numberOf(g.Text4->text()) < 0) g.Text4->setText("0");
}

void Text5_LostFocus(Game& g) {
  const auto b = wholeOf(*g.Text5);
  const auto radius = wholeOf(*g.Text1);  // without the lower bound of Text1
  if (!b || !radius) return refuse(g, *g.Text5);
  int16_t range = *b;
  if (range > *radius) range = *radius;
  if (range < 1) range = 1;
  g.world.PlanetRadius = *radius;
  g.world.BondRange = range;
  g.Text5->setText(textOf(range));
  accept(g, *g.Text5);
}

void Text7_LostFocus(Game& g) {
  const auto t = wholeOf(*g.Text7);
  if (!t) return refuse(g, *g.Text7);
  // The count as "Go" reads it, so that a running system keeps its bodies.
  const int16_t count = planetCountOf(g.TXn->text());
  g.world.PlanetCount = count;
  int16_t tag = *t;
  if (tag > count) {
    tag = count;
    g.Text7->setText(textOf(tag));
  }
  if (tag < 0) {
    tag = 0;
    g.Text7->setText("0");
  }
  g.world.TaggedPlanet = tag;
  accept(g, *g.Text7);
}

// A copied text is the one to fall back to only when it could be stored: the
// source may still hold an entry that its own field has not yet judged.
void copyRadiusToCore(Game& g) {
  g.Text5->setText(g.Text1->text());
  if (wholeOf(*g.Text5)) accept(g, *g.Text5);
}

void copyCoreToRadius(Game& g) {
  g.Text1->setText(g.Text5->text());
  if (wholeOf(*g.Text1)) accept(g, *g.Text1);
}

}  // namespace velmora
