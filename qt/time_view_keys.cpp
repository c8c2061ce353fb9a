#include "qt/time_view_keys.h"

#include "app/time_control.h"
#include "qt/field_canvas.h"
#include "qt/model_call.h"
#include "state/game.h"

namespace velmora::qt {

namespace {

const QList<QKeySequence> kStep{QKeySequence(Qt::CTRL | Qt::Key_T), QKeySequence(Qt::Key_F6)};
const QList<QKeySequence> kFaster{QKeySequence(Qt::CTRL | Qt::Key_BracketRight)};
const QList<QKeySequence> kSlower{QKeySequence(Qt::CTRL | Qt::Key_BracketLeft)};
const QList<QKeySequence> kZoomIn{QKeySequence(Qt::CTRL | Qt::Key_Equal),
                                  QKeySequence(Qt::CTRL | Qt::Key_Plus)};
const QList<QKeySequence> kZoomOut{QKeySequence(Qt::CTRL | Qt::Key_Minus)};
const QList<QKeySequence> kWholeField{QKeySequence(Qt::CTRL | Qt::Key_0)};

}  // namespace

QList<ShortcutEntry> timeAndViewKeyEntries() {
  return {{kStep, "While paused: one step of the simulation, then still paused"},
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
  auto inModel = [g](void (*action)(Game&)) {
    return [g, action] {
      if (ModelCall::running()) return;
      ModelCall call;
      action(*g);
    };
  };
  bindKeys(window, kStep, inModel([](Game& gm) { stepOnce(gm); }));
  bindKeys(window, kFaster, inModel([](Game& gm) { gm.speed.faster(); }));
  bindKeys(window, kSlower, inModel([](Game& gm) { gm.speed.slower(); }));
  FieldCanvas* f = &field;
  bindKeys(window, kZoomIn, [f] { f->zoomIn(); });
  bindKeys(window, kZoomOut, [f] { f->zoomOut(); });
  bindKeys(window, kWholeField, [f] { f->resetView(); });
}

}  // namespace velmora::qt
