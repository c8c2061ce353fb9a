// The sun's picture, drawn in code at whatever size it is shown: the window's
// picture of body 0 and every frame written of the field share it.
#pragma once

#include <QPainter>
#include <QRectF>

namespace velmora {

void paintSun(QPainter& p, const QRectF& r);

}  // namespace velmora
