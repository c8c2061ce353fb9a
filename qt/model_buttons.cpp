#include "qt/model_buttons.h"

namespace velmora::qt {

ModelCheckBox::ModelCheckBox(QWidget* parent) : QCheckBox(parent) {
  setTristate(true);  // the model's grayed state shows as partially checked
}

// Selecting one unselects the others in the model as in Qt's exclusive group, so
// the two agree.
ModelOption::ModelOption(QWidget* parent) : QRadioButton(parent) {
  setAutoExclusive(true);
}

void ModelOption::showSelected(bool selected) {
  if (selected == isChecked()) return;
  // An exclusive group keeps its checked option checked; the model can unselect
  // it (resuming leaves neither editor mode selected).
  setAutoExclusive(selected);
  setChecked(selected);
  setAutoExclusive(true);
}

}  // namespace velmora::qt
