// A text field: Return moves on like Tab (so the field is left and its LostFocus
// runs), and a double click is reported.
#pragma once

#include <QLineEdit>

namespace velmora::qt {

class FieldEdit : public QLineEdit {
  Q_OBJECT
 public:
  explicit FieldEdit(QWidget* parent) : QLineEdit(parent) {}

 signals:
  void doubleClicked();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
};

}  // namespace velmora::qt
