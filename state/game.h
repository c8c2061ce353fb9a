// The running game: the world, the main window Fs7 and the end screen as
// toolkit-free forms, the random generator, the drawing surface and what the
// handlers keep between events. Every handler takes the Game and reaches the
// controls by their names (g.TXg[2], g.Ti). This is the bottom of the handlers'
// layers, so it knows none of them: the layer that wires the windows (app/)
// defines the constructor, load() and the building of both windows, and only it
// makes a Game.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "form/clock.h"
#include "form/form.h"
#include "form/surface.h"
#include "state/clock_watch.h"
#include "state/editor_fields.h"
#include "state/editor_memory.h"
#include "state/host.h"
#include "state/panel_memory.h"
#include "state/tally_storage.h"
#include "state/time_speed.h"
#include "world/border_option.h"
#include "world/rng.h"
#include "world/world.h"

namespace velmora {

// The captions La(0)..La(19) of the main window by what they label: g.La[kLaSets].
enum LaIndex : int {
  kLaPlanet = 0,  // "Planet        #", over the editor's body number
  kLaMomentum,    // over Text2
  kLaCore,        // over Text5; a click copies the planet radius into it
  kLaRadius,      // over Text1; a click copies the bonding range into it
  kLaMagma,       // over Text4
  kLaGravity,     // over TXg(1)
  kLaTime,        // beside the elapsed time
  kLaSunGravity,  // over TXg(0)
  kLaTag,         // over Text7, hidden throughout
  kLaStability,   // beside the seconds since the last disturbance
  kLaScore,
  kLaHigh,
  kLaTop,
  kLaBorderMath,     // over the border options Och
  kLaSets,           // over the presets CDp; hidden once a system starts
  kLaPlanetGravity,  // beside the random-gravity box
  kLaPlanetType,     // over the editor's body type
  kLaExponent,       // "^G", over TXg(2)
  kLaPlanets,        // beside the live-body count
  kLaSunRadius,      // "Rad", over TXsrad
  kLaCount
};

// The gravity fields TXg(0..3) by what they hold.
enum TxgIndex : int {
  kTxgSunGravity = 0,     // the sun's gravity
  kTxgPlanetGravity,      // every planet's gravity; the least when CHgr randomizes it
  kTxgExponent,           // x of the law g = m / r^x, 0.4..2.6
  kTxgPlanetGravityMost,  // the most a randomized planet gravity may be (CHgr)
  kTxgCount
};

// The preset buttons CDp(0..5), captioned "1".."6", by the system each sets up.
enum CdpIndex : int {
  kPresetSpin = 0,         // only "Spin" checked, Label11 saying why
  kPresetNoSpin,           // only "Spin" cleared, Label11 saying why
  kPresetTwinNova,         // one of a twin star goes nova, 25 bodies
  kPresetTwinNovaRemains,  // the same, 300 remains of Jupiter to Mars size
  kPresetSunNova,          // 999 Jupiter-size worlds from a sun going nova
  kPresetSmallStarNova,    // 500 Earth-size worlds from a small star's nova
  kPresetCount
};

// Every moment of the run since "Go", kept by the layer that wires the windows.
class Timeline;

inline constexpr int kDefaultWindowWidth = 17895;   // twips
inline constexpr int kDefaultWindowHeight = 13320;  // twips

class Game {
 public:
  // `tally` keeps the best score ever between runs.
  Game(const Clock& clock, Host& host, TallyStorage& tally);
  ~Game();
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  // The Load of the main window: initial control states, the tally file, the seed
  // timer. Run once, after the faces have attached their observers.
  void load();

  // The main window's outer extents in twips, read anew wherever the rules need them.
  int W() const { return fs7.width(); }
  int H() const { return fs7.height(); }
  // Resizes the window (the face or a script does this); the surface follows.
  void resize(int widthTwips, int heightTwips);

  const Clock& clock;
  Host& host;
  TallyStorage& tally;

  // The page the web link opens and the end screen names; installed with the game.
  // A face that knows better where the page lies sets it before load().
  std::string webPageUrl = "file:///usr/local/share/velmora/how-solar-system-formed.htm";

  World world;
  Rng rng;
  Surface surface;
  PanelMemory panelMemory;
  TimeSpeed speed;  // the player's choice, kept across "Go" and pauses
  ClockWatch clockWatch;
  EditorMemory editorMemory;
  std::unique_ptr<Timeline> timeline;
  Form fs7;
  Form formEnd;

  // --- Fs7: settings panel ---
  Control* TXn;
  Control* TXt;
  std::array<Control*, kTxgCount> TXg;
  Control* CHgr;
  Control* Text1;
  Control* TXsrad;
  Control* Text2;
  Control* Text4;
  Control* Text5;
  Control* Text7;
  std::array<Control*, 3> TXw;
  Control* TXran;
  Control* CHran;
  Control* TXref;
  Control* CHr;
  Control* TXTrange;
  Control* CHgod;
  Control* CHsol;
  Control* Chbi;
  Control* Chalive;
  Control* Frame1;
  std::array<Control*, kBorderOptionCount> Och;

  // --- Fs7: commands ---
  Control* Command2;  // "Go"
  Control* Command5;  // "Pause"
  Control* Command4;  // "Clear"
  Control* Command1;  // "X"
  std::array<Control*, kPresetCount> CDp;
  Control* Command3;  // "www"
  Control* Command6;  // "www how the solar system formed"

  // --- Fs7: planet editor ---
  Control* Frame2;
  Control* TXTOden;
  Control* TxTyp;
  std::array<Control*, kTxtpCount> TXTp;
  std::array<Control*, kTxtpCount> Label6;
  std::array<Control*, kHspCount> Hsp;
  Control* Qui;
  std::array<Control*, 2> Opadd;
  Control* Chon;

  // --- Fs7: statistics, captions, texts ---
  Control* LaTT;
  Control* Label2;
  Control* Label3;
  Control* Label4;
  Control* Label5;
  Control* LaPL;
  Control* LaVida;
  std::array<Control*, kLaCount> La;
  Control* Label1;
  Control* Label7;
  Control* Label8;
  Control* Label9;
  Control* Label10;
  Control* Label11;

  // --- Fs7: pictures ---
  Control* ImSun;
  Control* ImMoon;
  Control* Shark;
  Control* Picture1;
  Control* PicA;

  // --- Fs7: timers, in the order they tick when due together ---
  Control* Ti;      // simulation tick
  Control* Tr;      // running seed
  Control* TiK;     // clock and statistics
  Control* TiF;     // editor marker blink
  Control* Tiball;  // automatic clearing
  Control* Timero;  // Go button blink

  // The live-only skipping of the body selector (Alive) moves the selector on from
  // inside its own change handling; the outermost skip keeps here where its pass
  // began, and whether every body of the cycle has been seen.
  struct SkipPass {
    bool running = false;
    int origin = 0;
    int first = 0;
    bool done = false;
  };
  SkipPass skipPass;

  // --- FormEnd ---
  std::array<Control*, 2> EndCommand1;  // the two "x" buttons
  Control* EndCommand2;                 // the web address button

 private:
  void buildMainWindow();
  void buildEndScreen();
  void wireEvents();
};

// The selected border option Och(i), a BorderOption; -1 while none is (before load()).
inline int selectedBorder(const Game& g) {
  for (int i = 0; i < kBorderOptionCount; ++i) {
    if (g.Och[i]->selected()) return i;
  }
  return -1;
}

}  // namespace velmora
