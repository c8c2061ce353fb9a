// The keys for time and the view: a single step while paused, moving along the
// timeline, the simulation speed, and the field's magnification.
#pragma once

#include <QList>

#include "qt/shortcuts.h"

namespace velmora {
class Game;
}

namespace velmora::qt {

class FieldCanvas;

// The keys and what they do, as the help window lists them.
QList<ShortcutEntry> timeAndViewKeyEntries();

void installTimeAndViewKeys(QWidget& window, Game& game, FieldCanvas& field);

}  // namespace velmora::qt
