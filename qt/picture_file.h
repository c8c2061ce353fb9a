// Saving the playing field as a PNG picture, by default in the user's pictures
// folder under a name with the date and time.
#pragma once

#include <QDateTime>
#include <QString>

class QWidget;

namespace velmora {
class Surface;
}

namespace velmora::qt {

// "velmora-YYYYMMDD-HHMMSS.png"
QString defaultPictureName(const QDateTime& when);
// That name in the pictures folder (the home folder when there is none yet).
QString defaultPicturePath(const QDateTime& when);
// Asks where to save (a file dialog), then writes; tells the player when it fails.
void savePictureAsked(QWidget* parent, const Surface& surface);

}  // namespace velmora::qt
