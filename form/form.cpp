#include "form/form.h"

#include "form/clock.h"

namespace velmora {

Form::Form(std::string name, const Clock& clock) : name_(std::move(name)), clock_(clock) {}

Control& Form::add(Kind kind, const std::string& name, int index) {
  controls_.push_back(std::make_unique<Control>(*this, kind, name, index));
  return *controls_.back();
}

Control* Form::find(const std::string& name, int index) const {
  for (const auto& c : controls_) {
    if (c->name() == name && c->index() == index) return c.get();
  }
  return nullptr;
}

Control* Form::findById(const std::string& id) const {
  const auto open = id.find('(');
  if (open == std::string::npos) return find(id, -1);
  if (id.back() != ')' || open + 2 > id.size() - 1) return nullptr;
  const std::string digits = id.substr(open + 1, id.size() - open - 2);
  if (digits.empty() || digits.size() > 4) return nullptr;
  int index = 0;
  for (char ch : digits) {
    if (ch < '0' || ch > '9') return nullptr;
    index = index * 10 + (ch - '0');
  }
  return find(id.substr(0, open), index);
}

std::vector<Control*> Form::timers() const {
  std::vector<Control*> out;
  for (const auto& c : controls_) {
    if (c->kind() == Kind::Timer) out.push_back(c.get());
  }
  return out;
}

void Form::setCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  notifyForm(Prop::Caption);
}

void Form::setSize(int widthTwips, int heightTwips) {
  if (widthTwips == width_ && heightTwips == height_) return;
  width_ = widthTwips;
  height_ = heightTwips;
  notifyForm(Prop::Width);
}

void Form::setVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  notifyForm(Prop::Visible);
}

void Form::setEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  notifyForm(Prop::Enabled);
}

void Form::focus(Control* control) {
  if (control == focused_) return;
  Control* previous = focused_;
  focused_ = control;
  if (previous != nullptr) Control::raise(previous->onLostFocus);
}

void Form::leave(Control& control) {
  if (focused_ == &control) focused_ = nullptr;
  Control::raise(control.onLostFocus);
}

void Form::notify(Control& control, Prop prop) {
  for (const auto& observer : observers_) observer(control, prop);
}

void Form::notifyForm(Prop prop) {
  for (const auto& observer : formObservers_) observer(*this, prop);
}

}  // namespace velmora
