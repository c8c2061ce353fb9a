// The playing field: shows the game's drawing surface one surface pixel per
// logical pixel, repainting at the display's rate only when something was
// plotted or cleared. Its size is the field's size: resizing it resizes the
// game's window (W = 900 + 15 * width, H = 15 * height + 300 twips), and a size
// the game sets itself, in twips that need not make whole pixels, is shown in the
// whole pixels of its picture and kept.
// The wheel magnifies the picture about the cursor (x1 to x16), dragging pans it
// and a middle-button double click goes back to x1; the game never sees the view.
// While paused, the hands (FieldHands) take clicks and drags on bodies.
#pragma once

#include <QTimer>
#include <QWidget>
#include <cstdint>

#include "qt/field_hands.h"
#include "qt/field_view.h"

namespace velmora {
class Game;
}

namespace velmora::qt {

class FieldCanvas : public QWidget {
  Q_OBJECT
 public:
  FieldCanvas(Game& game, QWidget* parent);

  // The field size in logical pixels that the game's window size gives: its picture's.
  static QSize fieldSizeFor(int widthTwips, int heightTwips);
  QSize sizeHint() const override;

  const FieldView& view() const { return view_; }
  FieldHands& hands() { return hands_; }
  // The keys' zoom: about the cursor when it is over the field, else the middle.
  void zoomIn();
  void zoomOut();
  void resetView();

 signals:
  // The magnification or the pan changed: whatever stands on the field follows.
  void viewChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void refresh();
  void zoomAt(QPoint anchor, int steps);
  QPoint keyAnchor() const;
  void fitView();
  void changed(bool viewMoved);

  Game& game_;
  QTimer frames_;
  uint64_t shownGeneration_ = 0;
  FieldView view_;
  FieldHands hands_{game_, *this, view_};
  QPoint dragFrom_;
  bool dragging_ = false;
  int wheelEighths_ = 0;  // a fine-stepping wheel adds up to whole notches
};

}  // namespace velmora::qt
