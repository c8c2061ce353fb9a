// Widgets that a player clicks but that take no focus: a label, a picture drawn
// in code and the editor's marker shape; and the label that shows a value.
#pragma once

#include <QColor>
#include <QLabel>
#include <QWidget>
#include <functional>

namespace velmora::qt {

class ClickLabel : public QLabel {
  Q_OBJECT
 public:
  explicit ClickLabel(QWidget* parent);

 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

// A label whose caption is a value that changes (a score, a time): a screen
// reader gets its accessible name and reads the caption as its value and text.
class ReadoutLabel : public ClickLabel {
  Q_OBJECT
 public:
  explicit ReadoutLabel(QWidget* parent);
};

// Paints its picture at its current size, so it stays crisp at any pixel ratio.
class PictureView : public QWidget {
  Q_OBJECT
 public:
  using Painter = std::function<void(QPainter&, const QRectF&)>;
  PictureView(QWidget* parent, Painter painter);

 signals:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  Painter painter_;
};

// A ring in the border colour filled with the fill colour.
class MarkerShape : public QWidget {
  Q_OBJECT
 public:
  explicit MarkerShape(QWidget* parent);
  void setColors(QColor border, QColor fill);
  QColor borderColor() const { return border_; }
  QColor fillColor() const { return fill_; }

 signals:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QColor border_{Qt::black};
  QColor fill_{Qt::black};
};

}  // namespace velmora::qt
