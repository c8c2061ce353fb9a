#include "qt/model_buttons.h"

namespace velmora::qt {

ModelCheckBox::ModelCheckBox(QWidget* parent) : QCheckBox(parent) {
  setTristate(true);  // the model's grayed state shows as partially checked
}

// The group's exclusivity is the model's: each option shows its own value.
ModelOption::ModelOption(QWidget* parent) : QRadioButton(parent) {
  setAutoExclusive(false);
}

}  // namespace velmora::qt
