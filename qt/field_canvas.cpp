#include "qt/field_canvas.h"

#include <QCursor>
#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QWheelEvent>

#include "qt/model_call.h"
#include "state/game.h"

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
  return QSize(Surface::fieldWidthFor(widthTwips), Surface::fieldHeightFor(heightTwips));
}

QSize FieldCanvas::sizeHint() const {
  return fieldSizeFor(game_.W(), game_.H());
}

void FieldCanvas::refresh() {
  const Surface& s = game_.surface;
  if (QSize(s.width(), s.height()) != view_.pictureSize()) fitView();
  if (s.generation() != shownGeneration_) update();
  hands_.refresh();
}

void FieldCanvas::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  const QRect dirty = event->rect();
  const Surface& s = game_.surface;
  // The picture is shown once a paint covers all of the field in sight. A partial
  // one (under a mark shown or moved) leaves the rest of a newer picture unshown,
  // for the next frame to paint whole.
  if (visibleRegion().subtracted(event->region()).isEmpty()) shownGeneration_ = s.generation();
  if (s.width() == 0 || s.height() == 0) return p.fillRect(dirty, Qt::black);
  // Wraps the surface's pixels as they are; no copy.
  const QImage image(reinterpret_cast<const uchar*>(s.pixels().data()), s.width(), s.height(),
                     s.width() * 4, QImage::Format_RGB32);
  p.setRenderHint(QPainter::SmoothPixmapTransform, false);
  QRect seen = image.rect();
  QRect target = seen;
  if (view_.magnified() || !view_.origin().isNull()) {
    // Only the picture pixels in sight, each drawn as a square of zoom x zoom.
    seen = QRect(view_.toPicture(dirty.topLeft()), view_.toPicture(dirty.bottomRight()))
               .intersected(image.rect());
    target = QRect(view_.toWidget(seen.topLeft()), seen.size() * view_.zoom());
  }
  // Black only where the picture leaves the widget bare: under it, a fill would
  // cost a second pass over every pixel of every frame.
  for (const QRect& bare : QRegion(dirty).subtracted(seen.isEmpty() ? QRect() : target)) {
    p.fillRect(bare, Qt::black);
  }
  if (!seen.isEmpty()) p.drawImage(target, image, seen);
  hands_.paint(p);
}

void FieldCanvas::zoomIn() {
  zoomAt(keyAnchor(), 1);
}

void FieldCanvas::zoomOut() {
  zoomAt(keyAnchor(), -1);
}

void FieldCanvas::resetView() {
  changed(view_.reset());
}

void FieldCanvas::zoomAt(QPoint anchor, int steps) {
  changed(view_.zoomAbout(anchor, steps));
}

QPoint FieldCanvas::keyAnchor() const {
  const QPoint cursor = mapFromGlobal(QCursor::pos());
  return rect().contains(cursor) ? cursor : rect().center();
}

void FieldCanvas::fitView() {
  const Surface& s = game_.surface;
  const QPoint before = view_.origin();
  view_.setSizes(size(), QSize(s.width(), s.height()));
  changed(view_.origin() != before);
}

void FieldCanvas::changed(bool viewMoved) {
  if (!viewMoved) return;
  update();
  emit viewChanged();
}

void FieldCanvas::wheelEvent(QWheelEvent* event) {
  wheelEighths_ += event->angleDelta().y();
  const int notches = wheelEighths_ / 120;
  wheelEighths_ -= notches * 120;
  if (notches != 0) zoomAt(event->position().toPoint(), notches);
  event->accept();
}

void FieldCanvas::mousePressEvent(QMouseEvent* event) {
  if (hands_.press(event)) return;
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  dragging_ = true;
  dragFrom_ = event->position().toPoint();
  setCursor(Qt::ClosedHandCursor);
}

void FieldCanvas::mouseMoveEvent(QMouseEvent* event) {
  if (hands_.move(event)) return;
  if (!dragging_) return QWidget::mouseMoveEvent(event);
  const QPoint at = event->position().toPoint();
  changed(view_.panBy(at - dragFrom_));
  dragFrom_ = at;
}

void FieldCanvas::mouseReleaseEvent(QMouseEvent* event) {
  if (hands_.release(event)) return;
  if (event->button() != Qt::LeftButton || !dragging_) return QWidget::mouseReleaseEvent(event);
  dragging_ = false;
  unsetCursor();
}

void FieldCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::MiddleButton) {
    resetView();
    return;
  }
  QWidget::mouseDoubleClickEvent(event);
}

void FieldCanvas::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // An extent that shows the game's own leaves it as it is: a size the game set
  // need not be a whole number of pixels, nor as large as the least field.
  const QSize shown = sizeHint().expandedTo(minimumSize());
  const int w = width() == shown.width() ? game_.W() : kFieldLeft + width() * kTwipsPerPixel;
  const int h =
      height() == shown.height() ? game_.H() : height() * kTwipsPerPixel + kFieldBottomGap;
  if (w != game_.W() || h != game_.H()) {
    ModelCall call;
    game_.resize(w, h);
  }
  fitView();
}

}  // namespace velmora::qt
