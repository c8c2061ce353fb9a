// Wires the events of both windows to their handlers.
#include <iterator>

#include "app/end_screen.h"
#include "app/engine_events.h"
#include "app/time_control.h"
#include "app/timeline.h"
#include "create/create.h"
#include "editor/editor.h"
#include "panel/panel.h"
#include "state/game.h"
#include "stats/stats.h"

namespace velmora {

void Game::wireEvents() {
  Game& g = *this;
  auto on = [&g](void (*handler)(Game&)) { return [&g, handler] { handler(g); }; };
  auto onIndex = [&g](void (*handler)(Game&, int), int index) {
    return [&g, handler, index] { handler(g, index); };
  };

  // Settings fields.
  Text1->onLostFocus = on(Text1_LostFocus);
  Text2->onLostFocus = on(Text2_LostFocus);
  Text4->onLostFocus = on(Text4_LostFocus);
  Text4->onDblClick = on(Text4_DblClick);
  Text5->onLostFocus = on(Text5_LostFocus);
  Text7->onLostFocus = on(Text7_LostFocus);
  for (int i = 0; i < kTxgCount; ++i) TXg[i]->onLostFocus = onIndex(TXg_LostFocus, i);
  TXn->onLostFocus = on(TXn_LostFocus);
  TXn->onDblClick = on(TXn_DblClick);
  for (int i = 0; i < std::ssize(TXw); ++i) {
    TXw[i]->onLostFocus = onIndex(TXw_LostFocus, i);
    TXw[i]->onDblClick = onIndex(TXw_DblClick, i);
  }
  TXTrange->onLostFocus = on(TXTrange_LostFocus);
  CHgr->onClick = on(CHgr_Click);

  // Options.
  CHr->onClick = on(CHr_Click);
  TXref->onLostFocus = on(TXref_LostFocus);
  CHran->onClick = on(CHran_Click);
  TXran->onLostFocus = on(TXran_LostFocus);
  CHsol->onClick = on(CHsol_Click);
  for (int i = 0; i < kBorderOptionCount; ++i) Och[i]->onClick = onIndex(Och_Click, i);
  for (int i = 0; i < kPresetCount; ++i) CDp[i]->onClick = onIndex(CDp_Click, i);

  // Commands.
  Command2->onClick = [&g] {
    const bool started = hasSystem(g);
    Command2_Click(g);
    if (!started && hasSystem(g)) g.timeline->restart(g);  // the moment of "Go"
  };
  Command5->onClick = on(Command5_Click);
  Command4->onClick = on(Command4_Click);
  Command1->onClick = on(Command1_Click);
  Command3->onClick = on(Command3_Click);
  Command6->onClick = on(Command6_Click);
  ImMoon->onClick = on(ImMoon_Click);

  // Planet editor.
  Qui->onChange = on(Qui_Change);
  for (int i = 0; i < kLaCount; ++i) La[i]->onClick = onIndex(La_Click, i);
  for (int i = 0; i < std::ssize(Opadd); ++i) Opadd[i]->onClick = onIndex(Opadd_Click, i);
  // Editor edits, each one step the player can undo.
  auto edit = [&g](auto handler) {
    return [&g, handler] {
      TimelineEdit one(g);
      handler();
    };
  };
  for (int i = 0; i < kTxtpCount; ++i) TXTp[i]->onLostFocus = edit(onIndex(TXTp_LostFocus, i));
  for (int i = 0; i < kHspCount; ++i) Hsp[i]->onChange = edit(onIndex(Hsp_Change, i));
  Chon->onClick = edit(on(Chon_Click));

  // Timers.
  Ti->onTimer = on(Ti_Period);
  Tr->onTimer = on(Tr_Timer);
  TiK->onTimer = on(TiK_Period);
  TiF->onTimer = on(TiF_Timer);
  Tiball->onTimer = on(Tiball_Timer);
  Timero->onTimer = on(Timero_Timer);

  followTheSimulation(g);
  timeline->attach(g);

  // End screen.
  for (int i = 0; i < std::ssize(EndCommand1); ++i)
    EndCommand1[i]->onClick = onIndex(FormEnd_Command1_Click, i);
  EndCommand2->onClick = on(FormEnd_Command2_Click);
}

void Game::load() {
  world.BorderMomentumDivisor = 1;
  CHsol->setValue(1);
  Och[kDie]->setValue(1);
  loadTally(*this);
  Tr->setEnabled(CHran->value() != 1);
}

}  // namespace velmora
