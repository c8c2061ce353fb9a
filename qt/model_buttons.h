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

class ModelOption : public QRadioButton {
  Q_OBJECT
 public:
  explicit ModelOption(QWidget* parent);

 protected:
  void nextCheckState() override {}
};

}  // namespace velmora::qt
