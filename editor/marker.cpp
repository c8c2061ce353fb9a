// The marker around the selected body and its blink. The blink phase is the
// marker's own border colour, so it survives a resume and the next pause.
#include <algorithm>
#include <cstdint>

#include "editor/editor.h"
#include "editor/editor_numbers.h"
#include "form/convert.h"
#include "state/game.h"

namespace velmora {

namespace {

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kTypeColours[5] = {
    {255, 255, 128}, {191, 96, 96}, {96, 191, 255}, {128, 200, 32}, {165, 165, 165}};

int component(double value) {
  return roundInto(value, 0, 255);
}

Rgb bodyColour(const World& w, int k, double scale) {
  return {component(w.PlanetRed[k] * scale), component(w.PlanetGreen[k] * scale),
          component(w.PlanetBlue[k] * scale)};
}

}  // namespace

void Ocean(Game& g, int16_t Porp) {
  if (Porp < 0 || Porp >= kMaxBodies) return;
  const World& w = g.world;
  Control& shark = *g.Shark;
  shark.setTop(roundInto(w.PlanetY[Porp] - shark.height() / 2.0, INT32_MIN, INT32_MAX));
  shark.setLeft(roundInto(w.PlanetX[Porp] - shark.width() / 2.0, INT32_MIN, INT32_MAX));
  shark.setVisible(true);
}

void TiF_Timer(Game& g) {
  const int k = std::clamp(g.Qui->value(), 0, kMaxBodies - 1);
  Control& shark = *g.Shark;
  if (shark.borderColor() == kWhite) {
    const double type = numberOf(g.TxTyp->text());
    for (int t = 0; t < 5; ++t) {
      if (type == t) g.TxTyp->setForeColor(kTypeColours[t]);
    }
    shark.setBorderColor(bodyColour(g.world, k, 1.0));
    shark.setFillColor(kBlack);
  } else {
    shark.setBorderColor(kWhite);
    shark.setFillColor(bodyColour(g.world, k, 0.5));
  }
}

}  // namespace velmora
