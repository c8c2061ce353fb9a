// Binds the controls of one form to widgets, both ways: every property change of
// the model shows at once, and what the player does goes to the model through the
// player actions (form/player.h). Updating a widget from the model never re-enters
// the model.
#pragma once

#include <QObject>
#include <QWidget>
#include <functional>
#include <memory>
#include <unordered_map>

#include "form/form.h"

namespace velmora::qt {

// What a screen reader says for a control: what it is and what it does.
struct AccessibleText {
  QString name;
  QString description;
};

// Where a control's widget stands and how it is drawn; the face decides this.
struct Placement {
  QWidget* parent = nullptr;
  int originXTwips = 0;  // the control's x at the parent's left edge
  bool boxed = false;    // a label or check box drawn on its BackColor
  Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter;
  bool valueInTip = false;  // a field whose tip also shows its whole text
  bool readout = false;     // a label whose caption is a value, read as its value
  // The face's own adjustment of the rectangle the model's twips give.
  std::function<QRect(QWidget&, QRect)> reshape;
  // The text a button shows for the model's caption.
  std::function<QString(const std::string&)> captionText;
  // The accessible name and description; by default the caption and the tip.
  std::function<AccessibleText(const Control&)> accessible;
  // Moves the box laid out in the parent's pixels to where a view of the parent
  // shows it; none for a parent that is not magnified or panned.
  std::function<QRect(const QRect&)> view;
};

class FormBinder : public QObject {
  Q_OBJECT
 public:
  // Controls held by a frame are placed in the frame's widget; the others where
  // `placementFor` says. Timers get no widget.
  FormBinder(Form& form, std::function<Placement(const Control&)> placementFor,
             QObject* parent = nullptr);
  ~FormBinder() override;

  QWidget* widget(const Control& control) const;
  // Clicks a control as the mouse would; false (and nothing done) when it is
  // hidden or disabled.
  bool click(Control& control);
  // Lays out again the widgets whose placement has a view, after the view moved.
  void followViews();
  // Stops both directions; called before the widgets are destroyed.
  void detach();
  // Places every widget again, after what a reshape depends on has changed.
  void reshowGeometry();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void create(Control& c, const Placement& where);
  void connectInput(Control& c, QWidget* w);
  void show(Control& c, Prop prop);
  void showAll(Control& c);
  void showText(Control& c, QWidget* w);
  void showCaption(Control& c, QWidget* w);
  void showValue(Control& c, QWidget* w);
  void showGeometry(Control& c, QWidget* w);
  void showColors(Control& c, QWidget* w);
  void showRange(Control& c, QWidget* w);
  void showTip(Control& c, QWidget* w);
  void showAccessible(Control& c, QWidget* w);
  // Runs a player action, then shows the control's state again in case the model
  // kept it as it was.
  void act(Control& c, const std::function<void()>& action);
  void focusLeft(Control& c, QWidget* w);

  Form& form_;
  std::unordered_map<const Control*, QWidget*> widgets_;
  std::unordered_map<const QObject*, Control*> controls_;
  std::unordered_map<const Control*, Placement> placements_;
  std::shared_ptr<bool> attached_ = std::make_shared<bool>(true);
};

}  // namespace velmora::qt
