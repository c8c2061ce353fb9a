// The keys of the hands on the field: a new body, the orbit, every body's paths,
// the preview's length, and "New system".
#pragma once

#include <QList>

#include "qt/shortcuts.h"

namespace velmora {
class Game;
}

namespace velmora::qt {

class FieldCanvas;

QList<ShortcutEntry> fieldHandsKeyEntries();

void installFieldHandsKeys(QWidget& window, Game& game, FieldCanvas& field);

}  // namespace velmora::qt
