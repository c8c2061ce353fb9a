#include "form/player.h"

#include "form/form.h"

namespace velmora {

namespace {

void takeFocus(Control& control) {
  if (control.takesFocus()) control.form().focus(&control);
}

}  // namespace

void playerClick(Control& control) {
  takeFocus(control);
  switch (control.kind()) {
    case Kind::CheckBox:
      control.setValue(control.value() == 1 ? 0 : 1);  // a grayed box becomes checked
      break;
    case Kind::OptionButton:
      control.setValue(1);
      break;
    case Kind::CommandButton:
    case Kind::Label:
    case Kind::Image:
    case Kind::PictureBox:
    case Kind::Shape:
    case Kind::Frame:
      Control::raise(control.onClick);
      break;
    case Kind::TextBox:
    case Kind::ScrollBar:
    case Kind::Timer:
      break;
  }
}

void playerDoubleClick(Control& control) {
  takeFocus(control);
  Control::raise(control.onDblClick);
}

void playerType(Control& field, std::string text) {
  takeFocus(field);
  field.setText(std::move(text));
}

void playerLeave(Control& field) {
  field.form().leave(field);
}

void playerScroll(Control& bar, int value) {
  takeFocus(bar);
  bar.setValue(value);
}

}  // namespace velmora
