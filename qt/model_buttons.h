// Check box and option button whose state only the model changes: a click is
// reported, the widget keeps its state until the model's new value arrives.
#pragma once

#include <QCheckBox>
#include <QRadioButton>

namespace velmora::qt {

class ModelCheckBox : public QCheckBox {
  Q_OBJECT
 public:
  explicit ModelCheckBox(QWidget* parent);

 protected:
  void nextCheckState() override {}
};

// One of a group of options, the options sharing its parent: a screen reader
// meets it as a radio button and the arrow keys move through the group.
class ModelOption : public QRadioButton {
  Q_OBJECT
 public:
  explicit ModelOption(QWidget* parent);
  // Shows the model's value, which may also be none of the group selected.
  void showSelected(bool selected);

 protected:
  void nextCheckState() override {}
};

}  // namespace velmora::qt
