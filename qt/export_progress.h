// A long export on a worker thread, with a progress dialog that can cancel it:
// the window's event loop runs on, and the dialog moves as the frames are written.
#pragma once

#include <functional>

#include "script/video_export.h"

class QWidget;

namespace velmora::qt {

// Runs `job` on a thread of its own, showing its progress (frames done, of how
// many, time left) in a modal dialog whose Cancel makes the job's progress answer
// false. Returns what the job returned, once it has ended.
ExportResult runWithProgress(QWidget* parent,
                             const std::function<ExportResult(const FrameProgress&)>& job);

}  // namespace velmora::qt
