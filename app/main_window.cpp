// The main window Fs7 and the end screen as data: every control with its name,
// kind, caption, tip, initial contents and visibility at start-up.
#include <iterator>

#include "app/layout.h"
#include "app/timeline.h"
#include "panel/panel.h"
#include "state/game.h"

namespace velmora {

namespace {

Control& text(Form& f, const char* name, int index, const char* initial, const char* tip) {
  Control& c = f.add(Kind::TextBox, name, index);
  c.setText(initial);
  c.setToolTip(tip);
  c.setBackColor({255, 255, 255});
  return c;
}

Control& label(Form& f, const char* name, int index, const char* caption, const char* tip = "") {
  Control& c = f.add(Kind::Label, name, index);
  c.setCaption(caption);
  c.setToolTip(tip);
  return c;
}

Control& check(Form& f, const char* name, int value, const char* caption, const char* tip) {
  Control& c = f.add(Kind::CheckBox, name);
  c.setCaption(caption);
  c.setToolTip(tip);
  c.setValue(value);  // no handler is wired yet, so nothing runs
  return c;
}

Control& button(Form& f, const char* name, int index, const char* caption, const char* tip = "") {
  Control& c = f.add(Kind::CommandButton, name, index);
  c.setCaption(caption);
  c.setToolTip(tip);
  c.setBackColor({212, 208, 200});
  return c;
}

Control& timer(Form& f, const char* name, int interval, bool enabled) {
  Control& c = f.add(Kind::Timer, name);
  c.setEnabled(false);
  c.setInterval(interval);
  c.setEnabled(enabled);
  return c;
}

// The settings panel: the fields, check boxes and their tips.
void addSettingsPanel(Game& g) {
  Form& f = g.fs7;
  g.TXn = &text(f, "TXn", -1, "0", "Total Planets");
  g.TXt = &text(f, "TXt", -1, "15", "1000's of a second per event calculation.");
  g.TXg[kTxgSunGravity] = &text(f, "TXg", kTxgSunGravity, "100", "Sol Gravity");
  g.TXg[kTxgPlanetGravity] =
      &text(f, "TXg", kTxgPlanetGravity, "0.003", "Gravity of largest Planet");
  g.TXg[kTxgExponent] = &text(f, "TXg", kTxgExponent, "2", "g=m/r^[?x]  In 3d space the ?x = 2");
  g.TXg[kTxgPlanetGravityMost] =
      &text(f, "TXg", kTxgPlanetGravityMost, "0.1", "Gravity of largest Planet");
  g.CHgr = &check(f, "CHgr", 0, "",
                  "Randomize planet gravity. Amount to left is max, amount above is min");
  g.Text1 = &text(f, "Text1", -1, "6", "Planet Radius");
  g.TXsrad = &text(f, "TXsrad", -1, "200", "Sun Radius");
  g.Text2 = &text(f, "Text2", -1, "10", "Start Angular Momentum");
  g.Text4 = &text(f, "Text4", -1, "1", "");
  g.Text5 = &text(f, "Text5", -1, "5", "Atomic Force Range for bonding and merging planets");
  g.Text7 = &text(f, "Text7", -1, "0", "Tag a Planet Number (0=sol)");
  g.TXw[0] = &text(f, "TXw", 0, "150", "");
  g.TXw[1] = &text(f, "TXw", 1, "0", "Waterworld Factor");
  g.TXw[2] = &text(f, "TXw", 2, "0", "Planetoid Factor");
  g.TXran = &text(f, "TXran", -1, "46", "Randomizer Seed");
  g.CHran = &check(f, "CHran", 0, "Random", "Freeze Seed for Predetermined Planetary Data");
  g.TXref = &text(f, "TXref", -1, "5", "Clear Screen Time");
  g.CHr = &check(f, "CHr", 0, "Auto C", "Auto Clear Screen");
  g.TXTrange = &text(f, "TXTrange", -1, "0.1",
                     "Spread of nova's debris from the sun as a proportion of the screen size.  "
                     "Max = 0.5  Min = 0.01");
  g.CHgod = &check(f, "CHgod", 0, "Spin",
                   "Deliberate Pre-ordained STARTING position and momentum to generate "
                   "anti-clockwise spin. If 4-dim is clicked then planets that leave the screen "
                   "start again in top right corner with spin.");
  g.CHsol = &check(f, "CHsol", 0, "", "Fix the sun or let it drift");
  g.Chbi = &check(f, "Chbi", 1, "Bind", "Bind Planets on Impact");
  g.Chalive = &check(f, "Chalive", 1, "live only",
                     "When paused display only live planets. (Ignore dead planets in edit mode)");
}

// The border rule: an option for each BorderOption, in their frame.
void addBorderRule(Game& g) {
  Form& f = g.fs7;
  g.Frame1 = &f.add(Kind::Frame, "Frame1");
  struct Option {
    const char* caption;
    const char* tip;
  };
  static constexpr Option kOptions[] = {
      {"Slomo", "Wrap to other side with half momentum"},
      {"Wall", "Bounce"},
      {"Wrap", "Wrap planet to other side of screen"},
      {"Comet", "Bounce but lose half momentum"},
      {"Chaos", "Appear at random edge of screen with half momentum."},
      {"4-dim",
       "Re-appear in top right corner with NEW momentum Click spin for best results as then "
       "the planet is relocated through the 4th dimension to the top right corner with spin."},
      {"die", "Planet dies where it leaves the screen: it stops, disappears and pulls no more"},
  };
  static_assert(std::size(kOptions) == kBorderOptionCount, "a caption and a tip for each rule");
  for (int i = 0; i < kBorderOptionCount; ++i) {
    g.Och[i] = &f.add(Kind::OptionButton, "Och", i);
    g.Och[i]->setCaption(kOptions[i].caption);
    g.Och[i]->setToolTip(kOptions[i].tip);
    g.Och[i]->setContainer(g.Frame1);
  }
}

// Go, Pause, Clear, X, the presets and the website buttons.
void addCommands(Game& g) {
  Form& f = g.fs7;
  g.Command2 = &button(f, "Command2", -1, "Go");
  g.Command5 = &button(f, "Command5", -1, "Pause");
  g.Command4 = &button(f, "Command4", -1, "Clear", "Clear Screen");
  g.Command1 = &button(f, "Command1", -1, "X");
  for (int i = 0; i < kPresetCount; ++i) {
    const std::string caption(1, static_cast<char>('1' + i));
    g.CDp[i] = &button(f, "CDp", i, caption.c_str(), "Preset Parameters");
  }
  g.Command3 = &button(f, "Command3", -1, "www", "^ Go to the website ^");
  g.Command6 =
      &button(f, "Command6", -1, "www how the solar system formed", "^ Go to the website ^");
  g.Command2->setBackColor({63, 144, 0});
}

// The planet editor: the body number, type, values, scroll bars and modes.
void addPlanetEditor(Game& g) {
  Form& f = g.fs7;
  g.Frame2 = &f.add(Kind::Frame, "Frame2");
  g.TXTOden = &text(f, "TXTOden", -1, "0", "Planetary Body Number");
  g.TxTyp =
      &text(f, "TxTyp", -1, "X", "0 = Sun, 1 = Jupiter, 2 = Waterworld, 3 = Lunar, 4 = Asteroid");
  static const char* const kValueTips[5] = {
      "Horizontal Position", "Vertical Position", "Horizontal Momentum", "Vertical Momentum",
      "Gravity of Planet... Note: 1E-02 is equal to 10x10^-2 ...or... 10 to the power -2."};
  static const char* const kValueCaptions[5] = {"Y", "X", "Ym", "Xm", "G"};
  for (int i = 0; i < 5; ++i) {
    g.TXTp[i] = &text(f, "TXTp", i, "0", kValueTips[i]);
    g.Label6[i] = &label(f, "Label6", i, kValueCaptions[i]);
  }
  for (int i = 0; i < 4; ++i) {
    g.Hsp[i] = &f.add(Kind::ScrollBar, "Hsp", i);
    if (i == kTxtpX || i == kTxtpY) {  // positions, in twips up to the field size
      g.Hsp[i]->setMin(0);
      g.Hsp[i]->setMax(0);
      g.Hsp[i]->setSteps(15, 300);
    } else {
      g.Hsp[i]->setMin(-999);
      g.Hsp[i]->setMax(999);
      g.Hsp[i]->setSteps(1, 10);
    }
  }
  g.Qui = &f.add(Kind::ScrollBar, "Qui");
  g.Qui->setMin(0);
  g.Qui->setMax(0);
  g.Qui->setSteps(1, 1);
  g.Opadd[0] = &f.add(Kind::OptionButton, "Opadd", 0);
  g.Opadd[0]->setCaption("num");
  g.Opadd[0]->setToolTip("Move Planet with Decimal Accuracy");
  g.Opadd[1] = &f.add(Kind::OptionButton, "Opadd", 1);
  g.Opadd[1]->setCaption("visual");
  g.Opadd[1]->setToolTip("Move Planet with Scrollbars");
  for (Control* o : g.Opadd) o->setContainer(g.Frame2);
  g.Chon = &check(f, "Chon", 2, "Planet off", "");
  // The type and on/off colours are light: these two stand on black.
  g.TxTyp->setBackColor({0, 0, 0});
  g.TxTyp->setForeColor({255, 255, 255});
  g.Chon->setBackColor({0, 0, 0});
  g.Chon->setForeColor({255, 255, 255});
}

// The statistics, the La captions and the other labels.
void addStatisticsAndCaptions(Game& g) {
  Form& f = g.fs7;
  g.LaTT = &label(f, "LaTT", -1, "0");
  g.Label2 = &label(f, "Label2", -1, "0");
  g.Label3 = &label(f, "Label3", -1, "0");
  g.Label4 = &label(f, "Label4", -1, "0");
  g.Label5 = &label(f, "Label5", -1, "0");
  g.LaPL = &label(f, "LaPL", -1, "x");
  g.LaVida = &label(f, "LaVida", -1, "x");
  static const char* const kCaptions[kLaCount] = {
      "Planet        #", "Momentum",    "Core",        "Radius",      "Magma",
      "Gravity",         "Time",        "Sun Gravity", "Tag",         "Stability",
      "Score",           "High",        "Top",         "Border Math", "Sets",
      "Planet Gravity",  "Planet Type", "^G",          "Planets",     "Rad"};
  for (int i = 0; i < kLaCount; ++i) g.La[i] = &label(f, "La", i, kCaptions[i]);
  g.La[kLaCore]->setToolTip("Solid Core");
  g.La[kLaRadius]->setToolTip("Radius");
  g.La[kLaGravity]->setToolTip("Planet Gravity");
  g.La[kLaBorderMath]->setToolTip("What happens to the planet when it leaves the screen?");
  g.Label1 = &label(f, "Label1", -1, "ver 7.0.2018");
  g.Label7 = &label(f, "Label7", -1,
                    "Select, spin (or not) to see how a solar system requires spin to form in a "
                    "concentric and uniform structure. Hover over stuff to get tips on what each "
                    "option does.");
  g.Label8 = &label(f, "Label8", -1, "time");
  g.Label9 = &label(f, "Label9", -1, "Spread");
  g.Label10 = &label(f, "Label10", -1, "Hit tab to save changes for typed entries");
  g.Label11 = &label(f, "Label11", -1, "Select 1,2,3,4,5,6 for various preset solar systems");
}

// The sun, the moon, the shark and the two picture boxes.
void addPictures(Game& g) {
  Form& f = g.fs7;
  g.ImSun = &f.add(Kind::Image, "ImSun");
  g.ImSun->setBounds(0, 0, 600, 600);
  g.ImMoon = &f.add(Kind::Image, "ImMoon");
  g.Shark = &f.add(Kind::Shape, "Shark");
  g.Shark->setBounds(0, 0, 450, 450);
  g.Picture1 = &f.add(Kind::PictureBox, "Picture1");
  g.PicA = &f.add(Kind::PictureBox, "PicA");
}

// The timers, created in the order in which timers due together tick.
void addTimers(Game& g) {
  Form& f = g.fs7;
  g.Ti = &timer(f, "Ti", 15, false);
  g.Tr = &timer(f, "Tr", 15, true);
  g.TiK = &timer(f, "TiK", 30, false);
  g.TiF = &timer(f, "TiF", 500, false);
  g.Tiball = &timer(f, "Tiball", 1000, false);
  g.Timero = &timer(f, "Timero", 250, true);
}

// What is hidden at start-up. The mode options Opadd stay visible: their frame hides them.
void hideAtStartUp(Game& g) {
  for (Control* c : {g.Command4,      g.Command5,
                     g.Frame2,        g.Qui,
                     g.TXTOden,       g.TxTyp,
                     g.La[kLaPlanet], g.La[kLaPlanetType],
                     g.Chon,          g.LaVida,
                     g.Label10,       g.Shark,
                     g.ImSun,         g.TXn,
                     g.Text7,         g.TXw[1],
                     g.TXw[2],        g.La[kLaGravity],
                     g.La[kLaTag],    g.La[kLaExponent],
                     g.Label8}) {
    c->setVisible(false);
  }
  for (int i = 0; i < 4; ++i) g.Hsp[i]->setVisible(false);
  for (int i = 0; i < 5; ++i) {
    g.TXTp[i]->setVisible(false);
    g.Label6[i]->setVisible(false);
  }
}

}  // namespace

Game::Game(const Clock& clk, Host& h, TallyStorage& t)
    : clock(clk),
      host(h),
      tally(t),
      timeline(std::make_unique<Timeline>()),
      fs7("Fs7", clk),
      formEnd("FormEnd", clk) {
  buildMainWindow();
  buildEndScreen();
  layoutMainWindow(*this);
  wireEvents();
  rememberPanelTexts(*this);
}

Game::~Game() = default;

void Game::resize(int widthTwips, int heightTwips) {
  // The picture first: a face told of the new size finds the picture of that size,
  // and a size it sets back in turn leaves the window and the picture agreeing.
  surface.resizeForWindow(widthTwips, heightTwips);
  fs7.setSize(widthTwips, heightTwips);
}

void Game::buildMainWindow() {
  Form& f = fs7;
  f.setCaption("Quorrel 3 : Velmora");
  f.setBackColor({0, 0, 0});
  f.setSize(kDefaultWindowWidth, kDefaultWindowHeight);
  f.setVisible(true);
  surface.resizeForWindow(kDefaultWindowWidth, kDefaultWindowHeight);

  addSettingsPanel(*this);
  addBorderRule(*this);
  addCommands(*this);
  addPlanetEditor(*this);
  addStatisticsAndCaptions(*this);
  addPictures(*this);
  addTimers(*this);
  hideAtStartUp(*this);
}

void Game::buildEndScreen() {
  Form& f = formEnd;
  f.setCaption("Form1");
  f.setBackColor({0, 0, 0});
  f.setSize(10515, 9075);
  for (int i = 0; i < 2; ++i) {
    EndCommand1[i] = &button(f, "Command1", i, "x");
    EndCommand1[i]->setBounds(i == 0 ? 0 : 10515 - 735, 0, 735, 735);
  }
  EndCommand2 = &button(f, "Command2", -1, "");
  EndCommand2->setBounds(0, 9075 - 495, 10515, 495);
}

}  // namespace velmora
