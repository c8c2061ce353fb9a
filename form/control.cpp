#include "form/control.h"

#include <algorithm>

#include "form/clock.h"
#include "form/form.h"

namespace velmora {

const char* kindName(Kind kind) {
  switch (kind) {
    case Kind::TextBox:
      return "TextBox";
    case Kind::Label:
      return "Label";
    case Kind::CheckBox:
      return "CheckBox";
    case Kind::OptionButton:
      return "OptionButton";
    case Kind::CommandButton:
      return "CommandButton";
    case Kind::ScrollBar:
      return "ScrollBar";
    case Kind::Frame:
      return "Frame";
    case Kind::PictureBox:
      return "PictureBox";
    case Kind::Image:
      return "Image";
    case Kind::Shape:
      return "Shape";
    case Kind::Timer:
      return "Timer";
  }
  return "?";
}

Control::Control(Form& form, Kind kind, std::string name, int index)
    : form_(form), kind_(kind), name_(std::move(name)), index_(index) {}

std::string Control::id() const {
  return index_ < 0 ? name_ : name_ + "(" + std::to_string(index_) + ")";
}

void Control::notify(Prop prop) {
  form_.notify(*this, prop);
}

void Control::setText(std::string text) {
  if (text == text_) return;
  text_ = std::move(text);
  notify(Prop::Text);
}

void Control::setCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  notify(Prop::Caption);
}

void Control::setToolTip(std::string tip) {
  if (tip == toolTip_) return;
  toolTip_ = std::move(tip);
  notify(Prop::ToolTipText);
}

void Control::setVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  notify(Prop::Visible);
}

void Control::setEnabled(bool enabled) {
  if (kind_ == Kind::Timer && enabled && !enabled_) dueMs_ = form_.clock().nowMs() + interval_;
  if (enabled == enabled_) return;
  enabled_ = enabled;
  notify(Prop::Enabled);
}

void Control::setLocked(bool locked) {
  if (locked == locked_) return;
  locked_ = locked;
  notify(Prop::Locked);
}

void Control::setValue(int value) {
  switch (kind_) {
    case Kind::CheckBox: {
      value = std::clamp(value, 0, 2);
      if (value == value_) return;
      value_ = value;
      notify(Prop::Value);
      raise(onClick);
      return;
    }
    case Kind::ScrollBar: {
      value = std::clamp(value, std::min(min_, max_), std::max(min_, max_));
      if (value == value_) return;
      value_ = value;
      notify(Prop::Value);
      raise(onChange);
      return;
    }
    case Kind::OptionButton: {
      if (value == 0) {
        if (value_ == 0) return;
        value_ = 0;
        notify(Prop::Value);
        return;
      }
      if (value_ != 0) return;
      // Selecting one unselects the rest of its group: the options of the same name
      // in the same container.
      for (const auto& other : form_.controls()) {
        if (other.get() != this && other->kind_ == Kind::OptionButton && other->name_ == name_ &&
            other->container_ == container_ && other->value_ != 0) {
          other->value_ = 0;
          other->notify(Prop::Value);
        }
      }
      value_ = 1;
      notify(Prop::Value);
      raise(onClick);
      return;
    }
    default:
      if (value == value_) return;
      value_ = value;
      notify(Prop::Value);
      return;
  }
}

void Control::setMin(int min) {
  if (min == min_) return;
  min_ = min;
  notify(Prop::Min);
  if (kind_ == Kind::ScrollBar) setValue(value_);
}

void Control::setMax(int max) {
  if (max == max_) return;
  max_ = max;
  notify(Prop::Max);
  if (kind_ == Kind::ScrollBar) setValue(value_);
}

void Control::setSteps(int smallChange, int largeChange) {
  smallChange_ = smallChange;
  largeChange_ = largeChange;
}

void Control::setInterval(int ms) {
  if (ms == interval_) return;
  interval_ = ms;
  if (kind_ == Kind::Timer && enabled_) dueMs_ = form_.clock().nowMs() + interval_;
  notify(Prop::Interval);
}

void Control::setLeft(int twips) {
  if (twips == left_) return;
  left_ = twips;
  notify(Prop::Left);
}

void Control::setTop(int twips) {
  if (twips == top_) return;
  top_ = twips;
  notify(Prop::Top);
}

void Control::setWidth(int twips) {
  if (twips == width_) return;
  width_ = twips;
  notify(Prop::Width);
}

void Control::setHeight(int twips) {
  if (twips == height_) return;
  height_ = twips;
  notify(Prop::Height);
}

void Control::setBounds(int left, int top, int width, int height) {
  setLeft(left);
  setTop(top);
  setWidth(width);
  setHeight(height);
}

void Control::setForeColor(Rgb c) {
  if (c == foreColor_) return;
  foreColor_ = c;
  notify(Prop::ForeColor);
}

void Control::setBackColor(Rgb c) {
  if (c == backColor_) return;
  backColor_ = c;
  notify(Prop::BackColor);
}

void Control::setFillColor(Rgb c) {
  if (c == fillColor_) return;
  fillColor_ = c;
  notify(Prop::FillColor);
}

void Control::setBorderColor(Rgb c) {
  if (c == borderColor_) return;
  borderColor_ = c;
  notify(Prop::BorderColor);
}

bool Control::available() const {
  if (!form_.visible() || !form_.enabled()) return false;
  for (const Control* c = this; c != nullptr; c = c->container_) {
    if (!c->visible_ || !c->enabled_) return false;
  }
  return true;
}

bool Control::takesFocus() const {
  switch (kind_) {
    case Kind::TextBox:
    case Kind::CheckBox:
    case Kind::OptionButton:
    case Kind::CommandButton:
    case Kind::ScrollBar:
      return true;
    default:
      return false;
  }
}

void Control::repaint() {
  notify(Prop::Repaint);
}

}  // namespace velmora
