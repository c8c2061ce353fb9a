#include "qt/click_widgets.h"

#include <QMouseEvent>
#include <QPainter>

namespace velmora::qt {

namespace {

bool releasedInside(const QWidget& w, const QMouseEvent& e) {
  return e.button() == Qt::LeftButton && w.rect().contains(e.position().toPoint());
}

}  // namespace

ClickLabel::ClickLabel(QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::PlainText);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  if (releasedInside(*this, *event)) emit clicked();
}

PictureView::PictureView(QWidget* parent, Painter painter)
    : QWidget(parent), painter_(std::move(painter)) {}

void PictureView::paintEvent(QPaintEvent*) {
  if (!painter_) return;
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  painter_(p, QRectF(rect()));
}

void PictureView::mouseReleaseEvent(QMouseEvent* event) {
  if (releasedInside(*this, *event)) emit clicked();
}

MarkerShape::MarkerShape(QWidget* parent) : QWidget(parent) {}

void MarkerShape::setColors(QColor border, QColor fill) {
  if (border == border_ && fill == fill_) return;
  border_ = border;
  fill_ = fill;
  update();
}

void MarkerShape::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal pen = 2.0;
  p.setPen(QPen(border_, pen));
  p.setBrush(fill_);
  p.drawEllipse(QRectF(rect()).adjusted(pen / 2, pen / 2, -pen / 2, -pen / 2));
}

void MarkerShape::mouseReleaseEvent(QMouseEvent* event) {
  if (releasedInside(*this, *event)) emit clicked();
}

}  // namespace velmora::qt
