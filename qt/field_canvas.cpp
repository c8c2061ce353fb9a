#include "qt/field_canvas.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>

#include "app/game.h"
#include "qt/model_call.h"

namespace velmora::qt {

namespace {
constexpr int kFrameMs = 16;
}

FieldCanvas::FieldCanvas(Game& game, QWidget* parent) : QWidget(parent), game_(game) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(160, 120);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  connect(&frames_, &QTimer::timeout, this, &FieldCanvas::refresh);
  frames_.start(kFrameMs);
}

QSize FieldCanvas::fieldSizeFor(int widthTwips, int heightTwips) {
  return QSize((widthTwips - kFieldLeft) / kTwipsPerPixel,
               (heightTwips - kFieldBottomGap) / kTwipsPerPixel);
}

QSize FieldCanvas::sizeHint() const {
  return fieldSizeFor(game_.W(), game_.H());
}

void FieldCanvas::refresh() {
  if (game_.surface.generation() != shownGeneration_) update();
}

void FieldCanvas::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  p.fillRect(event->rect(), Qt::black);
  const Surface& s = game_.surface;
  shownGeneration_ = s.generation();
  if (s.width() == 0 || s.height() == 0) return;
  // Wraps the surface's pixels as they are; no copy.
  const QImage image(reinterpret_cast<const uchar*>(s.pixels().data()), s.width(), s.height(),
                     s.width() * 4, QImage::Format_RGB32);
  p.setRenderHint(QPainter::SmoothPixmapTransform, false);
  p.drawImage(QRect(0, 0, s.width(), s.height()), image);
}

void FieldCanvas::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const int w = kFieldLeft + width() * kTwipsPerPixel;
  const int h = height() * kTwipsPerPixel + kFieldBottomGap;
  if (w == game_.W() && h == game_.H()) return;
  ModelCall call;
  game_.resize(w, h);
}

}  // namespace velmora::qt
