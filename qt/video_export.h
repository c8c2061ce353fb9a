// "Export video..." in the window, while paused: the moments of the timeline up to
// the current one filmed on a worker thread, replayed from the timeline's keyframes
// and a keyframe of the current moment in a game of the export's own. The game on
// screen stays paused and unchanged.
#pragma once

#include "script/video_export.h"

class QWidget;

namespace velmora {
class Game;
}

namespace velmora::qt {

struct VideoChoice;

// The dialog, then the export; only while paused, once there is a timeline.
void exportVideoAsked(QWidget* parent, Game& game);

// Exports `choice` (moments up to the current one) with a progress dialog that can
// cancel; a failure is told in a message box.
ExportResult exportVideoNow(QWidget* parent, const Game& game, const VideoChoice& choice);

}  // namespace velmora::qt
