#include "qt/pictures.h"

#include <QPainterPath>
#include <QPixmap>
#include <QRadialGradient>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace velmora::qt {

namespace {

QRectF square(const QRectF& r) {
  const qreal side = std::min(r.width(), r.height());
  return QRectF(r.center().x() - side / 2, r.center().y() - side / 2, side, side);
}

// A fixed little generator, so the starfield is the same on every start.
class Sprinkle {
 public:
  explicit Sprinkle(uint32_t seed) : state_(seed) {}
  qreal next() {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<qreal>(state_ >> 8) / static_cast<qreal>(1u << 24);
  }

 private:
  uint32_t state_;
};

void paintStars(QPainter& p, const QRectF& r, int count, uint32_t seed) {
  Sprinkle s(seed);
  p.setPen(Qt::NoPen);
  for (int i = 0; i < count; ++i) {
    const QPointF at(r.left() + s.next() * r.width(), r.top() + s.next() * r.height());
    const qreal bright = 0.35 + 0.65 * s.next();
    const qreal size = s.next() < 0.92 ? 0.8 : 1.8;
    p.setBrush(QColor::fromRgbF(bright, bright, std::min(1.0, bright + 0.1)));
    p.drawEllipse(at, size, size);
  }
}

QIcon iconFrom(void (*paint)(QPainter&, const QRectF&)) {
  QIcon icon;
  for (int scale : {1, 2, 3}) {
    QPixmap pm(16 * scale, 16 * scale);
    pm.setDevicePixelRatio(scale);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    paint(p, QRectF(0, 0, 16, 16));
    p.end();
    icon.addPixmap(pm);
  }
  return icon;
}

void paintGoGlyph(QPainter& p, const QRectF& r) {
  QPainterPath path;
  path.moveTo(r.left() + 3, r.top() + 2);
  path.lineTo(r.right() - 2, r.center().y());
  path.lineTo(r.left() + 3, r.bottom() - 2);
  path.closeSubpath();
  p.setPen(QPen(QColor(10, 60, 0), 1));
  p.setBrush(QColor(240, 250, 230));
  p.drawPath(path);
}

void paintPauseGlyph(QPainter& p, const QRectF& r) {
  p.setPen(QPen(QColor(40, 40, 40), 1));
  p.setBrush(QColor(30, 90, 200));
  p.drawRect(QRectF(r.left() + 3, r.top() + 2, 4, r.height() - 4));
  p.drawRect(QRectF(r.right() - 7, r.top() + 2, 4, r.height() - 4));
}

}  // namespace

void paintMoon(QPainter& p, const QRectF& r) {
  const QRectF s = square(r).adjusted(1, 1, -1, -1);
  QRadialGradient shade(s.center() - QPointF(s.width() / 5, s.height() / 5), s.width() * 0.7);
  shade.setColorAt(0.0, QColor(235, 235, 225));
  shade.setColorAt(1.0, QColor(120, 120, 115));
  p.setPen(Qt::NoPen);
  p.setBrush(shade);
  p.drawEllipse(s);
  p.setBrush(QColor(100, 100, 95, 140));
  const qreal w = s.width();
  p.drawEllipse(QRectF(s.left() + w * 0.55, s.top() + w * 0.25, w * 0.18, w * 0.18));
  p.drawEllipse(QRectF(s.left() + w * 0.30, s.top() + w * 0.55, w * 0.24, w * 0.24));
  p.drawEllipse(QRectF(s.left() + w * 0.62, s.top() + w * 0.62, w * 0.12, w * 0.12));
}

void paintRingedPlanet(QPainter& p, const QRectF& r) {
  p.fillRect(r, Qt::black);
  paintStars(p, r, 24, 7);
  const QRectF s = square(r);
  const QPointF c = s.center();
  const qreal radius = s.width() * 0.26;
  QRadialGradient body(c - QPointF(radius / 3, radius / 3), radius * 1.3);
  body.setColorAt(0.0, QColor(250, 215, 160));
  body.setColorAt(1.0, QColor(150, 90, 40));
  const QRectF ring(c.x() - radius * 1.8, c.y() - radius * 0.45, radius * 3.6, radius * 0.9);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(210, 190, 150), 2.5));
  p.drawArc(ring, 0, 180 * 16);  // the back of the ring
  p.setPen(Qt::NoPen);
  p.setBrush(body);
  p.drawEllipse(c, radius, radius);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(230, 210, 170), 2.5));
  p.drawArc(ring, 180 * 16, 180 * 16);  // the front
}

void paintNova(QPainter& p, const QRectF& r) {
  p.fillRect(r, Qt::black);
  const QRectF s = square(r);
  const QPointF c = s.center();
  p.setPen(Qt::NoPen);
  // Debris on a spiral around a small bright core: a system forming with spin.
  Sprinkle jitter(11);
  for (int i = 0; i < 160; ++i) {
    const qreal t = i / 160.0;
    const qreal angle = t * 4.0 * std::numbers::pi + (i % 2) * std::numbers::pi;
    const qreal dist = s.width() * (0.06 + 0.40 * t) * (0.9 + 0.2 * jitter.next());
    const QPointF at(c.x() + dist * std::cos(angle), c.y() + dist * std::sin(angle));
    p.setBrush(QColor::fromHsvF(0.08 + 0.5 * t, 0.6, 1.0));
    p.drawEllipse(at, 1.2, 1.2);
  }
  paintSun(p, QRectF(c.x() - s.width() * 0.09, c.y() - s.width() * 0.09, s.width() * 0.18,
                     s.width() * 0.18));
}

void paintEndScreen(QPainter& p, const QRectF& r) {
  QLinearGradient sky(r.topLeft(), r.bottomLeft());
  sky.setColorAt(0.0, QColor(0, 0, 8));
  sky.setColorAt(1.0, QColor(8, 4, 24));
  p.fillRect(r, sky);
  paintStars(p, r, 420, 1);
  // A planet rising from the lower right, lit from the upper left.
  const qreal radius = r.width() * 0.42;
  const QPointF c(r.right() - radius * 0.55, r.bottom() + radius * 0.35);
  QRadialGradient halo(c, radius * 1.12);
  halo.setColorAt(0.88, QColor(80, 150, 255, 110));
  halo.setColorAt(1.0, QColor(80, 150, 255, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(halo);
  p.drawEllipse(c, radius * 1.12, radius * 1.12);
  QRadialGradient body(c - QPointF(radius * 0.45, radius * 0.55), radius * 1.5);
  body.setColorAt(0.0, QColor(120, 180, 230));
  body.setColorAt(0.45, QColor(30, 80, 150));
  body.setColorAt(1.0, QColor(2, 6, 20));
  p.setBrush(body);
  p.drawEllipse(c, radius, radius);
  // A distant sun and its moon in the upper left.
  paintSun(p, QRectF(r.left() + r.width() * 0.16, r.top() + r.height() * 0.14, 70, 70));
  paintMoon(p, QRectF(r.left() + r.width() * 0.38, r.top() + r.height() * 0.30, 22, 22));
}

QIcon goIcon() {
  return iconFrom(paintGoGlyph);
}

QIcon pauseIcon() {
  return iconFrom(paintPauseGlyph);
}

PicturePainter picturePainterFor(const std::string& name) {
  if (name == "ImSun") return paintSun;
  if (name == "ImMoon") return paintMoon;
  if (name == "Picture1") return paintRingedPlanet;
  if (name == "PicA") return paintNova;
  return nullptr;
}

}  // namespace velmora::qt
