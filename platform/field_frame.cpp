#include "platform/field_frame.h"

#include <QPainter>
#include <QRect>
#include <algorithm>

#include "form/surface.h"
#include "platform/sun_picture.h"
#include "state/game.h"

namespace velmora {

namespace {

// Whole pixels as the window places a picture on the field: the corner rounded
// down, the size to the nearest.
int floorPixels(int twips) {
  return twips >= 0 ? twips / kTwipsPerPixel : -((-twips + kTwipsPerPixel - 1) / kTwipsPerPixel);
}

int roundPixels(int twips) {
  return (std::max(twips, 0) + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

QImage frameWithSun(const Game& g, bool sunShown) {
  const Surface& s = g.surface;
  // A deep copy: the picture is painted on and outlives the next tick.
  QImage frame = QImage(reinterpret_cast<const uchar*>(s.pixels().data()), s.width(), s.height(),
                        s.width() * 4, QImage::Format_RGB32)
                     .copy();
  const Control& sun = *g.ImSun;
  if (sunShown && !frame.isNull()) {
    QPainter p(&frame);
    p.setRenderHint(QPainter::Antialiasing);
    const QRect box(floorPixels(sun.left() - kFieldLeft), floorPixels(sun.top()),
                    roundPixels(sun.width()), roundPixels(sun.height()));
    // As the window's picture widget: painted in its own box, clipped to it.
    p.setClipRect(box);
    p.translate(box.topLeft());
    paintSun(p, QRectF(0, 0, box.width(), box.height()));
  }
  return frame;
}

}  // namespace

QImage fieldFrame(const Game& g) {
  return frameWithSun(g, g.ImSun->visible());
}

QImage playingFieldFrame(const Game& g) {
  return frameWithSun(g, g.CHsol->value() == 1);
}

}  // namespace velmora
