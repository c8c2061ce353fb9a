// The window's view of the field picture: a whole-number magnification (x1, x2,
// x4, x8 or x16, so that every picture pixel is a square of widget pixels) and the
// widget position of the picture's corner. Only a view: the picture and the game
// know nothing of it.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace velmora::qt {

class FieldView {
 public:
  static constexpr int kMaxZoom = 16;

  int zoom() const { return zoom_; }
  QPoint origin() const { return origin_; }  // widget position of picture pixel (0, 0)
  bool magnified() const { return zoom_ > 1; }

  // The widget and the picture it shows; the view is kept on the picture.
  void setSizes(QSize widget, QSize picture);
  QSize pictureSize() const { return picture_; }

  // Doubles (steps > 0) or halves the magnification `steps` times, keeping the
  // picture pixel under `anchor` (a widget position) where it is. False when
  // already at the limit.
  bool zoomAbout(QPoint anchor, int steps);
  // Moves the picture by `delta` widget pixels; false when it cannot move.
  bool panBy(QPoint delta);
  // Back to x1, the picture's corner at the widget's.
  bool reset();

  // The picture pixel under a widget pixel, and the widget position of a picture
  // pixel's top-left corner.
  QPoint toPicture(QPoint widget) const;
  QPoint toWidget(QPoint picture) const;
  // A box laid out at x1 (widget pixels) with its centre moved where the view shows
  // that spot; its size stays.
  QRect follow(const QRect& unzoomed) const;

 private:
  bool moveTo(QPoint origin);

  int zoom_ = 1;
  QPoint origin_;
  QSize widget_;
  QSize picture_;
};

}  // namespace velmora::qt
