#include "qt/field_hands_keys.h"

#include "app/new_system.h"
#include "qt/field_canvas.h"
#include "qt/model_call.h"
#include "state/game.h"

namespace velmora::qt {

namespace {

const QList<QKeySequence> kNewSystem{QKeySequence(Qt::CTRL | Qt::Key_N)};
const QList<QKeySequence> kAdd{QKeySequence(Qt::Key_A)};
const QList<QKeySequence> kOrbit{QKeySequence(Qt::Key_O)};
const QList<QKeySequence> kAllPaths{QKeySequence(Qt::Key_V)};
const QList<QKeySequence> kShorter{QKeySequence(Qt::Key_Comma)};
const QList<QKeySequence> kLonger{QKeySequence(Qt::Key_Period)};

}  // namespace

QList<ShortcutEntry> fieldHandsKeyEntries() {
  return {{kNewSystem, "New system: back to the start with the panel as it is, for another Go"},
          {kAdd, "While paused: a new body at rest under the cursor, selected"},
          {kOrbit,
           "While paused: put the selected body on a circular orbit about the body that pulls "
           "it most"},
          {kAllPaths,
           "While paused: the paths of the next ticks for every live body, or for the "
           "selected one only (click a body to select it, drag it to move it, drag with the "
           "right button or Shift to aim its momentum)"},
          {kShorter, "While paused: paths of half as many ticks (300 at first, 75 at least)"},
          {kLonger, "While paused: paths of twice as many ticks (4800 at most)"}};
}

void installFieldHandsKeys(QWidget& window, Game& game, FieldCanvas& field) {
  Game* g = &game;
  FieldCanvas* f = &field;
  bindKeys(window, kNewSystem, [g] {
    if (ModelCall::running()) return;
    ModelCall call;
    newSystem(*g);
  });
  bindKeys(window, kAdd, [f] { f->hands().addAtCursor(); });
  bindKeys(window, kOrbit, [f] { f->hands().orbit(); });
  bindKeys(window, kAllPaths, [f] { f->hands().togglePreviewAll(); });
  bindKeys(window, kShorter, [f] { f->hands().previewFewer(); });
  bindKeys(window, kLonger, [f] { f->hands().previewMore(); });
}

}  // namespace velmora::qt
