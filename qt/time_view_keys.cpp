#include "qt/time_view_keys.h"

#include "app/time_control.h"
#include "app/timeline.h"
#include "qt/field_canvas.h"
#include "qt/model_call.h"
#include "qt/seek_progress.h"
#include "state/game.h"

namespace velmora::qt {

namespace {

const QList<QKeySequence> kStep{QKeySequence(Qt::CTRL | Qt::Key_T), QKeySequence(Qt::Key_F6)};
const QList<QKeySequence> kBack{QKeySequence(Qt::SHIFT | Qt::Key_F6)};
const QList<QKeySequence> kToStart{QKeySequence(Qt::CTRL | Qt::Key_Home)};
const QList<QKeySequence> kToLatest{QKeySequence(Qt::CTRL | Qt::Key_End)};
const QList<QKeySequence> kUndo{QKeySequence(Qt::CTRL | Qt::Key_Z)};
const QList<QKeySequence> kRedo{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)};
const QList<QKeySequence> kFaster{QKeySequence(Qt::CTRL | Qt::Key_BracketRight)};
const QList<QKeySequence> kSlower{QKeySequence(Qt::CTRL | Qt::Key_BracketLeft)};
const QList<QKeySequence> kZoomIn{QKeySequence(Qt::CTRL | Qt::Key_Equal),
                                  QKeySequence(Qt::CTRL | Qt::Key_Plus)};
const QList<QKeySequence> kZoomOut{QKeySequence(Qt::CTRL | Qt::Key_Minus)};
const QList<QKeySequence> kWholeField{QKeySequence(Qt::CTRL | Qt::Key_0)};

}  // namespace

QList<ShortcutEntry> timeAndViewKeyEntries() {
  return {{kStep, "While paused: one step of the simulation, then still paused"},
          {kBack, "While paused: one tick back along the timeline"},
          {kToStart, "While paused: back to the moment of Go (or of the opened system)"},
          {kToLatest, "While paused: on to the latest moment of the timeline"},
          {kUndo, "While paused: undo the last editor edit of this pause"},
          {kRedo, "While paused: redo the editor edit last undone"},
          {kFaster, "Faster: 2, 4 or 8 simulation steps a period (the speed shows beside Time)"},
          {kSlower, "Slower: one simulation step every 2, 4 or 8 periods"},
          {kZoomIn, "Magnify the field (also the mouse wheel), up to x16"},
          {kZoomOut, "Magnify less"},
          {kWholeField, "The whole field at x1 again (also a middle-button double click)"}};
}

void installTimeAndViewKeys(QWidget& window, Game& game, FieldCanvas& field) {
  Game* g = &game;
  // The model runs one call at a time: a key pressed while a message box waits
  // does nothing.
  auto inModel = [g](auto action) {
    return [g, action] {
      if (ModelCall::running()) return;
      ModelCall call;
      action(*g);
    };
  };
  bindKeys(window, kStep, inModel([](Game& gm) { stepOnce(gm); }));
  // Along the timeline: a move the game refuses (not paused, at the start) does nothing.
  QWidget* w = &window;
  bindKeys(window, kBack, inModel([w](Game& gm) { backShowingProgress(w, gm); }));
  bindKeys(window, kToStart,
           inModel([w](Game& gm) { seekShowingProgress(w, gm, gm.timeline->first()); }));
  bindKeys(window, kToLatest,
           inModel([w](Game& gm) { seekShowingProgress(w, gm, gm.timeline->last(gm)); }));
  bindKeys(window, kUndo, inModel([](Game& gm) { gm.timeline->undo(gm); }));
  bindKeys(window, kRedo, inModel([](Game& gm) { gm.timeline->redo(gm); }));
  bindKeys(window, kFaster, inModel([](Game& gm) { gm.speed.faster(); }));
  bindKeys(window, kSlower, inModel([](Game& gm) { gm.speed.slower(); }));
  FieldCanvas* f = &field;
  bindKeys(window, kZoomIn, [f] { f->zoomIn(); });
  bindKeys(window, kZoomOut, [f] { f->zoomOut(); });
  bindKeys(window, kWholeField, [f] { f->resetView(); });
}

}  // namespace velmora::qt
