// A window as data: its controls in creation order, the focus, and the observers
// (the faces) that are told of every property change.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "form/control.h"

namespace velmora {

class Clock;

class Form {
 public:
  using Observer = std::function<void(Control&, Prop)>;
  using FormObserver = std::function<void(Form&, Prop)>;

  Form(std::string name, const Clock& clock);
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const std::string& name() const { return name_; }
  const Clock& clock() const { return clock_; }

  Control& add(Kind kind, const std::string& name, int index = -1);
  Control* find(const std::string& name, int index = -1) const;
  // Finds "TXg(2)" or "Text1".
  Control* findById(const std::string& id) const;
  const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }
  std::vector<Control*> timers() const;

  // The window's own properties. Width and height are the outer extents in twips.
  const std::string& caption() const { return caption_; }
  void setCaption(std::string caption);
  int width() const { return width_; }
  int height() const { return height_; }
  void setSize(int widthTwips, int heightTwips);
  bool visible() const { return visible_; }
  void setVisible(bool visible);
  bool enabled() const { return enabled_; }
  void setEnabled(bool enabled);
  Rgb backColor() const { return backColor_; }
  void setBackColor(Rgb c) { backColor_ = c; }

  // Focus. Giving the focus to another control first runs the LostFocus of the one
  // that had it; leave() runs a control's LostFocus whether or not it had the focus.
  Control* focused() const { return focused_; }
  void focus(Control* control);
  void leave(Control& control);

  void observe(Observer observer) { observers_.push_back(std::move(observer)); }
  void observeForm(FormObserver observer) { formObservers_.push_back(std::move(observer)); }
  void notify(Control& control, Prop prop);

 private:
  void notifyForm(Prop prop);

  std::string name_;
  const Clock& clock_;
  std::vector<std::unique_ptr<Control>> controls_;
  std::string caption_;
  int width_ = 0;
  int height_ = 0;
  bool visible_ = false;
  bool enabled_ = true;
  Rgb backColor_{0, 0, 0};
  Control* focused_ = nullptr;
  std::vector<Observer> observers_;
  std::vector<FormObserver> formObservers_;
};

}  // namespace velmora
