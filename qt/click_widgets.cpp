#include "qt/click_widgets.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QMouseEvent>
#include <QPainter>

namespace velmora::qt {

namespace {

bool releasedInside(const QWidget& w, const QMouseEvent& e) {
  return e.button() == Qt::LeftButton && w.rect().contains(e.position().toPoint());
}

// A read-only text: the label's caption.
class ReadoutAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit ReadoutAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::StaticText) {}

  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Value ? caption() : QAccessibleWidget::text(t);
  }
  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
  }

  QString text(int startOffset, int endOffset) const override {
    return caption().mid(startOffset, endOffset - startOffset);
  }
  int characterCount() const override { return static_cast<int>(caption().size()); }
  void selection(int, int* startOffset, int* endOffset) const override {
    *startOffset = *endOffset = 0;
  }
  int selectionCount() const override { return 0; }
  void addSelection(int, int) override {}
  void removeSelection(int) override {}
  void setSelection(int, int, int) override {}
  int cursorPosition() const override { return 0; }
  void setCursorPosition(int) override {}
  QRect characterRect(int) const override { return {}; }
  int offsetAtPoint(const QPoint&) const override { return -1; }
  void scrollToSubstring(int, int) override {}
  QString attributes(int, int* startOffset, int* endOffset) const override {
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
  }

 private:
  QString caption() const { return static_cast<const QLabel*>(widget())->text(); }
};

QAccessibleInterface* readoutAccessible(const QString& className, QObject* object) {
  if (className != QLatin1String(ReadoutLabel::staticMetaObject.className())) return nullptr;
  return new ReadoutAccessible(static_cast<QWidget*>(object));
}

}  // namespace

ClickLabel::ClickLabel(QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::PlainText);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  if (releasedInside(*this, *event)) emit clicked();
}

ReadoutLabel::ReadoutLabel(QWidget* parent) : ClickLabel(parent) {
  static const bool installed = (QAccessible::installFactory(readoutAccessible), true);
  (void)installed;
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
  // The field under the marker ends its own gesture too (a drag of the marked body).
  event->ignore();
}

}  // namespace velmora::qt
