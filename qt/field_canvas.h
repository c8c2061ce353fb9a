// The playing field: shows the game's drawing surface one surface pixel per
// logical pixel, repainting at the display's rate only when something was
// plotted or cleared. Its size is the field's size: resizing it resizes the
// game's window (W = 900 + 15 * width, H = 15 * height + 300 twips).
#pragma once

#include <QTimer>
#include <QWidget>
#include <cstdint>

namespace velmora {
class Game;
}

namespace velmora::qt {

class FieldCanvas : public QWidget {
  Q_OBJECT
 public:
  FieldCanvas(Game& game, QWidget* parent);

  // The field size in logical pixels that the game's window size gives.
  static QSize fieldSizeFor(int widthTwips, int heightTwips);
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void refresh();

  Game& game_;
  QTimer frames_;
  uint64_t shownGeneration_ = 0;
};

}  // namespace velmora::qt
