#include "qt/field_view.h"

#include <algorithm>
#include <cmath>

namespace velmora::qt {

namespace {

// Floor division, so that widget pixels left of the picture map to negative ones.
int floorDiv(int a, int b) {
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

}  // namespace

void FieldView::setSizes(QSize widget, QSize picture) {
  widget_ = widget;
  picture_ = picture;
  moveTo(origin_);
}

bool FieldView::zoomAbout(QPoint anchor, int steps) {
  int zoom = zoom_;
  for (; steps > 0 && zoom < kMaxZoom; --steps) zoom *= 2;
  for (; steps < 0 && zoom > 1; ++steps) zoom /= 2;
  if (zoom == zoom_) return false;
  // The anchor's offset from the corner scales with the magnification; rounded to
  // whole widget pixels, so the squares stay on the pixel grid.
  const QPoint fromCorner = anchor - origin_;
  auto scale = [&](int v) {
    return static_cast<int>(std::lround(static_cast<double>(v) * zoom / zoom_));
  };
  const QPoint scaled(scale(fromCorner.x()), scale(fromCorner.y()));
  zoom_ = zoom;
  moveTo(anchor - scaled);
  return true;
}

bool FieldView::panBy(QPoint delta) {
  return moveTo(origin_ + delta);
}

bool FieldView::reset() {
  if (zoom_ == 1 && origin_.isNull()) return false;
  zoom_ = 1;
  origin_ = {};
  return true;
}

QPoint FieldView::toPicture(QPoint widget) const {
  return {floorDiv(widget.x() - origin_.x(), zoom_), floorDiv(widget.y() - origin_.y(), zoom_)};
}

QPoint FieldView::toWidget(QPoint picture) const {
  return origin_ + picture * zoom_;
}

QRect FieldView::follow(const QRect& unzoomed) const {
  const QPoint half(unzoomed.width() / 2, unzoomed.height() / 2);
  const QPoint centre = unzoomed.topLeft() + half;
  const QPoint shown = toWidget(centre) + QPoint(zoom_ / 2, zoom_ / 2);
  return QRect(shown - half, unzoomed.size());
}

bool FieldView::moveTo(QPoint origin) {
  // The magnified picture covers the widget wherever it can: no black beyond its
  // edges unless the picture is smaller than the widget.
  auto keep = [](int at, int widget, int picture) {
    const int lowest = std::min(0, widget - picture);
    return std::clamp(at, lowest, 0);
  };
  const QPoint kept(keep(origin.x(), widget_.width(), picture_.width() * zoom_),
                    keep(origin.y(), widget_.height(), picture_.height() * zoom_));
  if (kept == origin_) return false;
  origin_ = kept;
  return true;
}

}  // namespace velmora::qt
