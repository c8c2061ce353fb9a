// Editing the selected body: typed values in decimal mode, scroll bars in
// scroll-bar mode, and the on/off switch. Every accepted edit goes straight into
// the tables and the body is shown again from them.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "editor/editor.h"
#include "editor/editor_numbers.h"
#include "form/convert.h"
#include "state/game.h"

namespace velmora {

namespace {

constexpr Rgb kOnColour{128, 255, 191};
constexpr Rgb kOffColour{191, 96, 0};

// The first failing range check corrects its field; true when all passed.
bool fieldsInRange(Game& g) {
  const auto val = [&g](int i) { return numberOf(g.TXTp[i]->text()); };
  // Positions are compared at single precision, as typed values are.
  const auto single = [](double v) { return static_cast<double>(static_cast<float>(v)); };
  if (val(0) < 0) {
    g.TXTp[kTxtpX]->setText("0");
  } else if (val(1) < 0) {
    g.TXTp[kTxtpY]->setText("0");
  } else if (single(val(0)) > g.W()) {
    g.TXTp[kTxtpX]->setText(std::to_string(g.W()));
  } else if (single(val(1)) > g.H()) {
    g.TXTp[kTxtpY]->setText(std::to_string(g.H()));
  } else if (val(2) < -kTypedMomentumLimit) {
    g.TXTp[kTxtpMomentumX]->setText(std::to_string(-kTypedMomentumLimit));
  } else if (val(2) > kTypedMomentumLimit) {
    g.TXTp[kTxtpMomentumX]->setText(std::to_string(kTypedMomentumLimit));
  } else if (val(3) < -kTypedMomentumLimit) {
    g.TXTp[kTxtpMomentumY]->setText(std::to_string(-kTypedMomentumLimit));
  } else if (val(3) > kTypedMomentumLimit) {
    g.TXTp[kTxtpMomentumY]->setText(std::to_string(kTypedMomentumLimit));
  } else {
    return true;
  }
  return false;
}

}  // namespace

void Opadd_Click(Game& g, int index) {
  const bool bars = index != 0;
  for (int k = 0; k < kHspCount; ++k) {
    g.Hsp[k]->setVisible(bars);
    g.TXTp[k]->setLocked(bars);
    g.TXTp[k]->setVisible(true);
  }
  if (bars) Baldur(g);
}

void TXTp_LostFocus(Game& g, int) {
  if (!fieldsInRange(g)) return;
  Bifrost(g);
  Asgard(g);
}

void Hsp_Change(Game& g, int index) {
  if (!g.Opadd[1]->selected()) return;
  g.TXTp[index]->setText(std::to_string(g.Hsp[index]->value()));
  Bifrost(g);
  Asgard(g);
}

void Chon_Click(Game& g) {
  const auto n = strictBodyOf(g.TXTOden->text());
  if (!n) {
    // Not a body number: store nothing, and put the box, its caption and colour
    // back to the body shown.
    Asgard(g);
    return;
  }
  if (g.Chon->value() == 0) {
    g.world.PlanetOff[*n] = 0;
  } else if (g.Chon->value() == 1) {
    g.world.PlanetOff[*n] = 1;
  }
  showOnOff(g, *n);
  VivaVida(g);
}

void showOnOff(Game& g, int16_t body) {
  const int16_t off = g.world.PlanetOff[body];
  if (off == 0) {
    g.Chon->setForeColor(kOnColour);
    g.Chon->setCaption("Planet ON");
  } else if (off == 1) {
    g.Chon->setForeColor(kOffColour);
    g.Chon->setCaption("Planet OFF");
  }
}

// Stores the fields the player changed, each into its own table entry, or nothing
// when any changed text is not a complete number; a field still showing what the
// editor wrote there stores nothing, so the body's other values stay exact. The
// callers show the body again from the tables either way.
void Bifrost(Game& g) {
  const auto n = strictBodyOf(g.TXTOden->text());
  if (!n) return;
  const EditorMemory& shown = g.editorMemory;
  std::array<std::optional<double>, kTxtpCount> typed{};
  for (int i = 0; i < kTxtpCount; ++i) {
    const std::string& text = g.TXTp[i]->text();
    if (text == shown.shownTexts[i]) continue;
    typed[i] = strictNumberOf(text);
    if (!typed[i]) return;
  }
  const auto tables = editedTables(g.world);
  for (int i = 0; i < kTxtpCount; ++i) {
    if (typed[i]) (*tables[i])[*n] = *typed[i];
  }
}

// A value beyond a bar's range is shown at the bound without raising the bar's
// Change, so showing it stores nothing.
void Baldur(Game& g) {
  const auto n = displayedBody(g);
  if (!n) return;
  const World& w = g.world;
  const auto values = editedTables(w);
  for (int k = 0; k < kHspCount; ++k) {
    Control& bar = *g.Hsp[k];
    bool clamped = false;
    const int v = roundInto((*values[k])[*n], bar.min(), bar.max(), &clamped);
    if (clamped) {
      setValueQuietly(bar, v);
    } else {
      bar.setValue(v);
    }
  }
}

}  // namespace velmora
