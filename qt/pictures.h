// The game's pictures, drawn in code at whatever size they are shown.
#pragma once

#include <QIcon>
#include <QPainter>
#include <QRectF>
#include <string>

#include "platform/sun_picture.h"

namespace velmora::qt {

using velmora::paintSun;
void paintMoon(QPainter& p, const QRectF& r);
void paintRingedPlanet(QPainter& p, const QRectF& r);  // Picture1
void paintNova(QPainter& p, const QRectF& r);          // PicA
void paintEndScreen(QPainter& p, const QRectF& r);

QIcon goIcon();
QIcon pauseIcon();

// The painter for a picture control of the main window by its name, or none.
using PicturePainter = void (*)(QPainter&, const QRectF&);
PicturePainter picturePainterFor(const std::string& controlName);

}  // namespace velmora::qt
