// A toolkit-free control with classic event semantics: setting a check box's or
// scroll bar's value to a different value raises its Click or Change before the
// setter returns; selecting an option button unselects the rest of its group and
// raises its Click; setting a text raises nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace velmora {

class Form;

enum class Kind {
  TextBox,
  Label,
  CheckBox,
  OptionButton,
  CommandButton,
  ScrollBar,
  Frame,
  PictureBox,
  Image,
  Shape,
  Timer,
};

const char* kindName(Kind kind);

struct Rgb {
  int r = 0;
  int g = 0;
  int b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Every property a face may need to show; the form notifies its observers with one
// of these after a change.
enum class Prop {
  Text,
  Caption,
  Value,
  Visible,
  Enabled,
  Locked,
  ToolTipText,
  Interval,
  Min,
  Max,
  Left,
  Top,
  Width,
  Height,
  ForeColor,
  BackColor,
  FillColor,
  BorderColor,
  Repaint,  // "repaint at once" request; no property changed
};

class Control {
 public:
  using Handler = std::function<void()>;

  Control(Form& form, Kind kind, std::string name, int index);
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  Form& form() const { return form_; }
  Kind kind() const { return kind_; }
  const std::string& name() const { return name_; }
  int index() const { return index_; }  // -1 when the control is not in a group
  std::string id() const;               // "TXg(2)" or "Text1"

  const std::string& text() const { return text_; }
  void setText(std::string text);
  const std::string& caption() const { return caption_; }
  void setCaption(std::string caption);
  const std::string& toolTip() const { return toolTip_; }
  void setToolTip(std::string tip);

  bool visible() const { return visible_; }
  void setVisible(bool visible);
  // For a timer this is its running flag: enabling a stopped timer (or changing a
  // running timer's interval) starts a fresh period.
  bool enabled() const { return enabled_; }
  void setEnabled(bool enabled);
  bool locked() const { return locked_; }
  void setLocked(bool locked);

  // Check box: 0 unchecked, 1 checked, 2 grayed; a change raises Click.
  // Scroll bar: clamped to min..max; a change raises Change.
  // Option button: 1 selects it (unselecting the group, raising Click when it was
  // not selected); 0 unselects it and raises nothing.
  int value() const { return value_; }
  void setValue(int value);
  bool selected() const { return value_ != 0; }

  int min() const { return min_; }
  void setMin(int min);
  int max() const { return max_; }
  void setMax(int max);  // a value beyond the new range is moved into it (raising Change)
  int smallChange() const { return smallChange_; }
  int largeChange() const { return largeChange_; }
  void setSteps(int smallChange, int largeChange);

  int interval() const { return interval_; }
  void setInterval(int ms);
  int64_t dueMs() const { return dueMs_; }  // next tick in the form's clock
  void setDueMs(int64_t due) { dueMs_ = due; }

  int left() const { return left_; }
  int top() const { return top_; }
  int width() const { return width_; }
  int height() const { return height_; }
  void setLeft(int twips);
  void setTop(int twips);
  void setWidth(int twips);
  void setHeight(int twips);
  void setBounds(int left, int top, int width, int height);

  Rgb foreColor() const { return foreColor_; }
  Rgb backColor() const { return backColor_; }
  Rgb fillColor() const { return fillColor_; }
  Rgb borderColor() const { return borderColor_; }
  void setForeColor(Rgb c);
  void setBackColor(Rgb c);
  void setFillColor(Rgb c);
  void setBorderColor(Rgb c);

  // The frame that holds this control, if any: a hidden or disabled frame hides or
  // disables what it holds.
  Control* container() const { return container_; }
  void setContainer(Control* frame) { container_ = frame; }

  // A player can reach the control: it and every frame around it are visible and
  // enabled (for a text field a locked one still takes focus but not typing).
  bool available() const;
  // The control takes the focus when the player clicks it.
  bool takesFocus() const;

  void repaint();  // ask the face to repaint at once

  Handler onClick;
  Handler onDblClick;
  Handler onLostFocus;
  Handler onChange;
  Handler onTimer;

  static void raise(const Handler& h) {
    if (h) h();
  }

 private:
  void notify(Prop prop);

  Form& form_;
  Kind kind_;
  std::string name_;
  int index_;
  std::string text_;
  std::string caption_;
  std::string toolTip_;
  bool visible_ = true;
  bool enabled_ = true;
  bool locked_ = false;
  int value_ = 0;
  int min_ = 0;
  int max_ = 32767;
  int smallChange_ = 1;
  int largeChange_ = 1;
  int interval_ = 0;
  int64_t dueMs_ = 0;
  int left_ = 0;
  int top_ = 0;
  int width_ = 0;
  int height_ = 0;
  Rgb foreColor_{0, 0, 0};
  Rgb backColor_{255, 255, 255};
  Rgb fillColor_{0, 0, 0};
  Rgb borderColor_{0, 0, 0};
  Control* container_ = nullptr;
};

}  // namespace velmora
