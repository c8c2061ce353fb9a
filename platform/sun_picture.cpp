#include "platform/sun_picture.h"

#include <QRadialGradient>
#include <algorithm>

namespace velmora {

void paintSun(QPainter& p, const QRectF& r) {
  const qreal side = std::min(r.width(), r.height());
  const QRectF s(r.center().x() - side / 2, r.center().y() - side / 2, side, side);
  QRadialGradient glow(s.center(), s.width() / 2);
  glow.setColorAt(0.0, QColor(255, 255, 220));
  glow.setColorAt(0.45, QColor(255, 220, 60));
  glow.setColorAt(0.8, QColor(255, 140, 0));
  glow.setColorAt(1.0, QColor(255, 80, 0, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(glow);
  p.drawEllipse(s);
}

}  // namespace velmora
