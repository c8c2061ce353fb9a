// Selecting a body while paused and showing it. Showing writes to the tables: the
// type is re-derived from the gravity and position and momentum are clamped.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "editor/editor.h"
#include "editor/editor_numbers.h"
#include "form/convert.h"
#include "panel/panel.h"
#include "state/game.h"

namespace velmora {

namespace {

double typeOfGravity(double gravity) {
  double type = 4;
  if (gravity > 0.003) type = 3;
  if (gravity > 0.02) type = 2;
  if (gravity > 0.1) type = 1;
  return type;
}

}  // namespace

void Qui_Change(Game& g) {
  g.TXTOden->setText(std::to_string(g.Qui->value()));
  g.Shark->setVisible(false);
  Asgard(g);
  Alive(g);
  g.Shark->setVisible(true);
  Baldur(g);
}

void Asgard(Game& g) {
  const auto n = displayedBody(g);
  if (!n) return;
  World& w = g.world;
  w.PlanetType[*n] = typeOfGravity(w.PlanetGravity[*n]);
  w.PlanetType[0] = 0;
  g.TxTyp->setText(std::to_string(static_cast<int>(w.PlanetType[*n])));
  g.ImSun->setVisible(*n != 0);
  SetBody(g, *n);
  Ocean(g, *n);
  if (w.PlanetOff[*n] == 1) {
    g.Chon->setValue(1);
  } else if (w.PlanetOff[*n] == 0) {
    g.Chon->setValue(0);
  }
  // A box whose value did not change raised no click: its caption and colour
  // are set from the body all the same.
  showOnOff(g, *n);
}

void SetBody(Game& g, int16_t Pln) {
  if (Pln < 0 || Pln >= kMaxBodies) return;
  World& w = g.world;
  w.MomentumX[Pln] = std::clamp(w.MomentumX[Pln], -999.0, 999.0);
  w.MomentumY[Pln] = std::clamp(w.MomentumY[Pln], -999.0, 999.0);
  w.PlanetX[Pln] = std::clamp(w.PlanetX[Pln], -32768.0, 32768.0);
  w.PlanetY[Pln] = std::clamp(w.PlanetY[Pln], -32768.0, 32768.0);
  EditorMemory& shown = g.editorMemory;
  shown.shownBody = Pln;
  const auto values = editedTables(w);
  for (int i = 0; i < kTxtpCount; ++i) {
    shown.shownTexts[i] = textOf((*values[i])[Pln]);
    g.TXTp[i]->setText(shown.shownTexts[i]);
  }
}

void La_Click(Game& g, int index) {
  switch (index) {
    case kLaPlanet:
      Asgard(g);
      break;
    case kLaCore:  // the bonding range takes the planet radius
      copyRadiusToCore(g);
      break;
    case kLaRadius:  // the planet radius takes the bonding range
      copyCoreToRadius(g);
      break;
    default:
      break;
  }
}

}  // namespace velmora
