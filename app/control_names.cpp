#include "app/control_names.h"

#include "app/layout.h"
#include "panel/panel.h"
#include "state/game.h"

namespace velmora {

namespace {

// A caption as it is read: the blanks that align it on the window read as one.
std::string spoken(const std::string& caption) {
  std::string out;
  for (char ch : caption) {
    if (ch == ' ' && (out.empty() || out.back() == ' ')) continue;
    out += ch;
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

void addSettings(const Game& g, std::vector<ControlName>& rows) {
  const auto captionOf = [](const Control* label) { return spoken(label->caption()); };
  rows.insert(rows.end(),
              {
                  {g.TXw[0], "Planets", "The number of planets, up to 999", Voice::ShownAbove},
                  {g.TXn, "Total planets", ""},
                  {g.TXw[1], "Waterworld factor", ""},
                  {g.TXw[2], "Planetoid factor", ""},
                  {g.TXt, "ms per step", "", Voice::ShownAbove},
                  {g.TXg[kTxgSunGravity], captionOf(g.La[kLaSunGravity]), ""},
                  {g.CHsol, "Fix the sun", ""},
                  {g.TXg[kTxgExponent], "Law r^x", "", Voice::ShownAbove},
                  {g.TXg[kTxgPlanetGravity], captionOf(g.La[kLaPlanetGravity]), ""},
                  {g.TXg[kTxgPlanetGravityMost], "Max gravity", "", Voice::ShownAbove},
                  {g.CHgr, "Random g", "", Voice::ShownAbove},
                  {g.Text1, captionOf(g.La[kLaRadius]), ""},
                  {g.TXsrad, "Sun radius", ""},
                  {g.Text5, captionOf(g.La[kLaCore]), ""},
                  {g.Text2, captionOf(g.La[kLaMomentum]), ""},
                  {g.Text4, captionOf(g.La[kLaMagma]), "How far each planet's start is jittered"},
                  {g.Text7, captionOf(g.La[kLaTag]), ""},
                  {g.TXTrange, captionOf(g.Label9), ""},
                  {g.TXran, "Seed", "", Voice::ShownAbove},
                  {g.TXref, "Clear every s", "", Voice::ShownAbove},
                  {g.CHr, "Auto clear", ""},
                  {g.Frame1, captionOf(g.La[kLaBorderMath]), g.La[kLaBorderMath]->toolTip()},
              });
}

void addCommands(const Game& g, std::vector<ControlName>& rows) {
  const std::string page = "Open the page on how the solar system formed";
  rows.insert(rows.end(), {
                              {g.Command2, "", "Start a new system"},
                              {g.Command5, "", "Pause and edit the bodies, or resume"},
                              {g.Command1, "Close", "Leave the game for the end screen"},
                              {g.Command3, "Web page", page},
                              {g.Command6, "How the solar system formed", page},
                              {g.ImMoon, "Moon picture", page},
                              {g.Picture1, "Ringed planet picture", "A planet with its rings"},
                              {g.PicA, "Nova picture", "A nova's debris around a young sun"},
                              {g.ImSun, "Sun picture", "Marks the sun, body 0"},
                          });
  for (int i = 0; i < kPresetCount; ++i) {
    rows.push_back({g.CDp[i], "Preset " + std::to_string(i + 1), presetExplanation(i)});
  }
}

void addEditor(const Game& g, std::vector<ControlName>& rows) {
  rows.insert(rows.end(), {
                              {g.Frame2, "Editor mode",
                               "Type the values (num) or move them with the scroll bars (visual)"},
                              {g.TXTOden, "Planet number", ""},
                              {g.TxTyp, spoken(g.La[kLaPlanetType]->caption()), ""},
                              {g.Qui, "Planet selector", "Step through the bodies"},
                              {g.Chon, "Planet off", "Switch the shown body off (checked) or on"},
                              {g.Shark, "Marker", "Blinks around the body the editor shows"},
                          });
  for (int i = 0; i < static_cast<int>(g.TXTp.size()); ++i) {
    const std::string caption = spoken(editorCaptionOf(g, i)->caption());
    rows.push_back({g.TXTp[i], caption, ""});
    if (i < static_cast<int>(g.Hsp.size())) {
      rows.push_back({g.Hsp[i], caption + " bar", g.TXTp[i]->toolTip()});
    }
  }
}

void addReadouts(const Game& g, std::vector<ControlName>& rows) {
  rows.insert(
      rows.end(),
      {
          {g.Label2, "Elapsed time", "Seconds since the system started", Voice::Readout},
          {g.LaTT, "Stable time", "Seconds since the last border event or merge", Voice::Readout},
          {g.Label3, "Current score",
           "Grows with the square of the live planets and of the stable time", Voice::Readout},
          {g.Label4, "High score", "The best score since the game started", Voice::Readout},
          {g.Label5, "Top score", "The best score ever", Voice::Readout},
          {g.LaPL, "Live planets", "Planets still in play, the sun not counted", Voice::Readout},
          {g.LaVida, "Dead and alive", "How many bodies are off and how many on", Voice::Readout},
      });
}

}  // namespace

std::vector<ControlName> controlNames(const Game& g) {
  std::vector<ControlName> rows;
  addSettings(g, rows);
  addCommands(g, rows);
  addEditor(g, rows);
  addReadouts(g, rows);
  return rows;
}

const ControlName* rowOf(const std::vector<ControlName>& names, const Control& c) {
  for (const ControlName& row : names) {
    if (row.control == &c) return &row;
  }
  return nullptr;
}

SpokenText spokenTextOf(const std::vector<ControlName>& names, const Control& c) {
  SpokenText text{spoken(c.caption()), c.toolTip()};
  if (const ControlName* row = rowOf(names, c)) {
    if (!row->name.empty()) text.name = row->name;
    if (!row->description.empty()) text.description = row->description;
  }
  if (text.description.empty()) text.description = text.name;
  return text;
}

}  // namespace velmora
