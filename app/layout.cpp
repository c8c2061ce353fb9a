#include "app/layout.h"

#include <array>
#include <iterator>

#include "state/game.h"

namespace velmora {

namespace {

// The panel is designed on a grid of screen pixels of 15 twips.
constexpr int kPx = 15;

void put(Control* c, int x, int y, int w, int h) {
  c->setBounds(x * kPx, y * kPx, w * kPx, h * kPx);
}

// Four columns of cells, a caption line above a field line.
constexpr int kCellWidth = 76;
constexpr int kCaption = 16;
constexpr int kField = 22;
constexpr int col(int i) {
  return 16 + i * 84;
}

void captioned(Control* caption, Control* field, int column, int top) {
  if (caption != nullptr) put(caption, col(column), top, kCellWidth, kCaption);
  put(field, col(column), top + kCaption, kCellWidth, kField);
}

void layoutSettings(Game& g) {
  // Planet count (TXn, TXw(1), TXw(2) stay hidden; they share the place of TXw(0))
  // and the event period, then the sun's gravity and the gravity exponent.
  int top = 8;
  captioned(nullptr, g.TXw[0], 0, top);
  for (Control* hidden : {g.TXn, g.TXw[1], g.TXw[2]}) captioned(nullptr, hidden, 0, top);
  captioned(g.Label8, g.TXt, 1, top);
  captioned(g.La[kLaSunGravity], g.TXg[kTxgSunGravity], 2, top);
  put(g.TXg[kTxgSunGravity], col(2), top + kCaption, 54, kField);
  put(g.CHsol, col(2) + 58, top + kCaption, 18, kField);
  captioned(g.La[kLaExponent], g.TXg[kTxgExponent], 3, top);

  // Planet gravity: the random range's minimum above its box, the maximum to the
  // box's left; the radii beside it.
  top = 54;
  put(g.La[kLaPlanetGravity], col(0), top, kCellWidth, kCaption + kField);
  captioned(g.La[kLaGravity], g.TXg[kTxgPlanetGravity], 1, top);
  captioned(g.La[kLaRadius], g.Text1, 2, top);
  captioned(g.La[kLaSunRadius], g.TXsrad, 3, top);
  top = 100;
  captioned(nullptr, g.TXg[kTxgPlanetGravityMost], 0, top);
  captioned(nullptr, g.CHgr, 1, top);
  captioned(g.La[kLaCore], g.Text5, 2, top);
  captioned(nullptr, g.Chbi, 3, top);

  // The start: spin, impact jitter, debris spread.
  top = 146;
  captioned(g.La[kLaMomentum], g.Text2, 0, top);
  captioned(g.La[kLaMagma], g.Text4, 1, top);
  captioned(g.Label9, g.TXTrange, 2, top);
  captioned(nullptr, g.CHgod, 3, top);
  captioned(g.La[kLaTag], g.Text7, 3, top);  // hidden throughout

  // Seed and clearing, each field with its box.
  put(g.TXran, col(0), 194, kCellWidth, kField);
  put(g.CHran, col(1), 194, kCellWidth, kField);
  put(g.TXref, col(2), 194, kCellWidth, kField);
  put(g.CHr, col(3), 194, kCellWidth, kField);
  put(g.Chalive, col(0), 222, 2 * kCellWidth, kField);
}

void layoutBorderRule(Game& g) {
  put(g.La[kLaBorderMath], col(0), 252, 160, kCaption);
  put(g.Frame1, col(0), 268, 328, 60);
  for (int i = 0; i < kBorderOptionCount; ++i)
    put(g.Och[i], 6 + (i % 4) * 80, i < 4 ? 8 : 32, 76, kField);
}

void layoutCommands(Game& g) {
  put(g.La[kLaSets], col(0), 336, 160, kCaption);
  for (int i = 0; i < 6; ++i) put(g.CDp[i], col(0) + i * 56, 352, 48, 26);
  // Go stands at 240 twips, where Pause moves when a system starts.
  put(g.Command2, 16, 388, 90, 30);
  put(g.Command5, 112, 388, 90, 30);
  put(g.Command4, 112, 388, 90, 30);
  put(g.Command3, 208, 388, 68, 30);
  put(g.Command1, 292, 388, 52, 30);
  put(g.Command6, col(0), 836, 244, 24);
  put(g.Label1, 264, 836, 80, 24);
}

void layoutStatistics(Game& g) {
  struct Stat {
    Control* caption;
    Control* value;
  };
  // Two rows of three.
  const Stat stats[] = {{g.La[kLaTime], g.Label2},  {g.La[kLaStability], g.LaTT},
                        {g.La[kLaScore], g.Label3}, {g.La[kLaHigh], g.Label4},
                        {g.La[kLaTop], g.Label5},   {g.La[kLaPlanets], g.LaPL}};
  constexpr size_t kARow = 3;
  for (size_t i = 0; i < std::size(stats); ++i) {
    const int x = col(0) + static_cast<int>(i % kARow) * 112;
    const int top = i < kARow ? 428 : 472;
    put(stats[i].caption, x, top, 104, kCaption);
    put(stats[i].value, x, top + kCaption, 104, kField);
  }
}

void layoutEditor(Game& g) {
  captioned(g.La[kLaPlanet], g.TXTOden, 0, 522);
  captioned(g.La[kLaPlanetType], g.TxTyp, 1, 522);
  put(g.Frame2, col(2), 522, 2 * kCellWidth + 8, 38);
  put(g.Opadd[0], 8, 8, 70, kField);
  put(g.Opadd[1], 84, 8, 74, kField);
  put(g.Qui, col(0), 568, 328, 20);
  put(g.Chon, col(0), 596, 2 * kCellWidth, kField);
  put(g.LaVida, col(2), 596, 2 * kCellWidth + 8, kField);
  // A row a field, its slider beside it where it has one.
  for (int i = 0; i < kTxtpCount; ++i) {
    const int top = 626 + i * 28;
    put(editorCaptionOf(g, i), col(0), top, 24, kField);
    put(g.TXTp[i], 44, top, 104, kField);
    if (i < kHspCount) put(g.Hsp[i], 156, top + 1, 188, 20);
  }
  put(g.Label10, col(0), 768, 328, 18);
}

// The start layout's texts and pictures, on the field's upper left.
void layoutIntro(Game& g) {
  auto onField = [](Control* c, int x, int y, int w, int h) {
    c->setBounds(900 + x * kPx, y * kPx, w * kPx, h * kPx);
  };
  onField(g.Label7, 24, 20, 560, 56);
  onField(g.Label11, 24, 84, 560, 80);
  onField(g.Picture1, 24, 176, 96, 96);
  onField(g.PicA, 132, 176, 96, 96);
  onField(g.ImMoon, 240, 200, 48, 48);
}

}  // namespace

Control* editorCaptionOf(const Game& g, int field) {
  // Label6(0..4) read "Y", "X", "Ym", "Xm", "G", while TXTp(0..4) hold the
  // horizontal and vertical position, the horizontal and vertical momentum and
  // the gravity.
  static constexpr std::array<int, 5> kLabel6OfField = {1, 0, 3, 2, 4};
  return g.Label6[kLabel6OfField[field]];
}

void layoutMainWindow(Game& g) {
  layoutSettings(g);
  layoutBorderRule(g);
  layoutCommands(g);
  layoutStatistics(g);
  layoutEditor(g);
  layoutIntro(g);
}

}  // namespace velmora
