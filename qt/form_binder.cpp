#include "qt/form_binder.h"

#include <QEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

#include "form/player.h"
#include "form/surface.h"
#include "qt/click_widgets.h"
#include "qt/field_edit.h"
#include "qt/model_buttons.h"
#include "qt/model_call.h"
#include "qt/pictures.h"

namespace velmora::qt {

namespace {

int floorPixels(int twips) {
  return twips >= 0 ? twips / kTwipsPerPixel : -((-twips + kTwipsPerPixel - 1) / kTwipsPerPixel);
}

int roundPixels(int twips) {
  return (std::max(twips, 0) + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

QString qstr(const std::string& s) {
  return QString::fromStdString(s);
}

// Buttons and frames read '&' as a shortcut mark; a caption shows it as written.
QString literalMnemonic(const std::string& s) {
  return qstr(s).replace('&', "&&");
}

QColor qcolor(Rgb c) {
  return QColor(c.r & 255, c.g & 255, c.b & 255);
}

Qt::CheckState checkState(int value) {
  switch (value) {
    case 1:
      return Qt::Checked;
    case 2:
      return Qt::PartiallyChecked;
    default:
      return Qt::Unchecked;
  }
}

// Focus that moves because a window or a popup came and went is not the player
// leaving the field.
bool playerMovedFocus(const QFocusEvent& e) {
  return e.reason() != Qt::ActiveWindowFocusReason && e.reason() != Qt::PopupFocusReason &&
         e.reason() != Qt::MenuBarFocusReason;
}

}  // namespace

FormBinder::FormBinder(Form& form, std::function<Placement(const Control&)> placementFor,
                       QObject* parent)
    : QObject(parent), form_(form) {
  // Frames first: what they hold is placed inside them.
  for (const auto& c : form.controls()) {
    if (c->kind() == Kind::Frame) create(*c, placementFor(*c));
  }
  for (const auto& c : form.controls()) {
    if (c->kind() == Kind::Frame || c->kind() == Kind::Timer) continue;
    Placement where = placementFor(*c);
    if (Control* frame = c->container(); frame != nullptr && widgets_.count(frame) != 0) {
      where.parent = widgets_.at(frame);
      where.originXTwips = 0;
    }
    create(*c, where);
  }
  form.observe([this, attached = attached_](Control& c, Prop prop) {
    if (*attached) show(c, prop);
  });
}

FormBinder::~FormBinder() {
  detach();
}

void FormBinder::detach() {
  *attached_ = false;
  for (auto& [object, control] : controls_) {
    const_cast<QObject*>(object)->removeEventFilter(this);
  }
}

void FormBinder::reshowGeometry() {
  ModelWrite write;
  for (auto& [control, w] : widgets_) showGeometry(*const_cast<Control*>(control), w);
}

QWidget* FormBinder::widget(const Control& control) const {
  const auto it = widgets_.find(&control);
  return it == widgets_.end() ? nullptr : it->second;
}

void FormBinder::create(Control& c, const Placement& where) {
  QWidget* w = nullptr;
  switch (c.kind()) {
    case Kind::TextBox:
      w = new FieldEdit(where.parent);
      break;
    case Kind::Label: {
      auto* label = where.readout ? new ReadoutLabel(where.parent) : new ClickLabel(where.parent);
      label->setAlignment(where.align);
      if (where.boxed) {
        label->setAutoFillBackground(true);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setMargin(2);
      }
      w = label;
      break;
    }
    case Kind::CheckBox:
      w = new ModelCheckBox(where.parent);
      w->setAutoFillBackground(where.boxed);
      w->setBackgroundRole(QPalette::Window);
      break;
    case Kind::OptionButton:
      w = new ModelOption(where.parent);
      break;
    case Kind::CommandButton:
      w = new QPushButton(where.parent);
      break;
    case Kind::ScrollBar: {
      auto* bar = new QScrollBar(Qt::Horizontal, where.parent);
      // Like the classic bar: a drag reports its value once, when released.
      bar->setTracking(false);
      bar->setFocusPolicy(Qt::StrongFocus);
      w = bar;
      break;
    }
    case Kind::Frame:
      w = new QGroupBox(where.parent);
      break;
    case Kind::PictureBox:
    case Kind::Image:
      w = new PictureView(where.parent, picturePainterFor(c.name()));
      break;
    case Kind::Shape:
      w = new MarkerShape(where.parent);
      break;
    case Kind::Timer:
      return;
  }
  w->setObjectName(qstr(c.id()));
  widgets_[&c] = w;
  controls_[w] = &c;
  placements_[&c] = where;
  showAll(c);
  connectInput(c, w);
}

void FormBinder::connectInput(Control& c, QWidget* w) {
  Control* control = &c;
  auto click = [this, control] { act(*control, [control] { playerClick(*control); }); };
  if (auto* field = qobject_cast<FieldEdit*>(w)) {
    connect(field, &QLineEdit::textEdited, this, [this, control](const QString& text) {
      act(*control, [control, text] { playerType(*control, text.toStdString()); });
    });
    connect(field, &FieldEdit::doubleClicked, this,
            [this, control] { act(*control, [control] { playerDoubleClick(*control); }); });
    field->installEventFilter(this);
  } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
    connect(button, &QAbstractButton::clicked, this, click);
    button->installEventFilter(this);
  } else if (auto* bar = qobject_cast<QScrollBar*>(w)) {
    connect(bar, &QScrollBar::valueChanged, this, [this, control](int value) {
      act(*control, [control, value] { playerScroll(*control, value); });
    });
    bar->installEventFilter(this);
  } else if (auto* label = qobject_cast<ClickLabel*>(w)) {
    connect(label, &ClickLabel::clicked, this, click);
  } else if (auto* picture = qobject_cast<PictureView*>(w)) {
    connect(picture, &PictureView::clicked, this, click);
  } else if (auto* marker = qobject_cast<MarkerShape*>(w)) {
    connect(marker, &MarkerShape::clicked, this, click);
  }
}

bool FormBinder::click(Control& c) {
  if (!c.available()) return false;
  act(c, [&c] { playerClick(c); });
  return true;
}

void FormBinder::act(Control& c, const std::function<void()>& action) {
  if (!*attached_ || ModelWrite::active()) return;  // an echo of the model's own write
  {
    ModelCall call;
    action();
  }
  if (!*attached_) return;
  if (QWidget* w = widget(c)) {
    ModelWrite write;
    showText(c, w);
    showValue(c, w);
  }
}

bool FormBinder::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::FocusIn && event->type() != QEvent::FocusOut) return false;
  const auto it = controls_.find(watched);
  if (it == controls_.end() || !*attached_) return false;
  Control& c = *it->second;
  auto* w = static_cast<QWidget*>(watched);
  const auto& focusEvent = *static_cast<QFocusEvent*>(event);
  if (!playerMovedFocus(focusEvent)) return false;
  if (event->type() == QEvent::FocusOut) {
    if (c.kind() == Kind::TextBox) focusLeft(c, w);
  } else if (!ModelWrite::active() && form_.focused() != &c) {
    ModelCall call;
    form_.focus(&c);
  }
  return false;
}

void FormBinder::focusLeft(Control& c, QWidget* w) {
  if (!ModelWrite::active()) {
    act(c, [&c] { playerLeave(c); });
    return;
  }
  // The model hid or disabled the field it had the focus in: its LostFocus runs
  // once the handler doing that has ended.
  QPointer<QWidget> guard(w);
  Control* control = &c;
  QTimer::singleShot(0, this, [this, guard, control] {
    if (guard && !guard->hasFocus()) act(*control, [control] { playerLeave(*control); });
  });
}

void FormBinder::show(Control& c, Prop prop) {
  QWidget* w = widget(c);
  if (w == nullptr) return;
  ModelWrite write;
  switch (prop) {
    case Prop::Text:
      showText(c, w);
      if (placements_.at(&c).valueInTip) showTip(c, w);
      break;
    case Prop::Caption:
      showCaption(c, w);
      showAccessible(c, w);
      break;
    case Prop::Value:
      showValue(c, w);
      break;
    case Prop::Visible:
      w->setVisible(c.visible());
      break;
    case Prop::Enabled:
      w->setEnabled(c.enabled());
      break;
    case Prop::Locked:
      if (auto* field = qobject_cast<QLineEdit*>(w)) field->setReadOnly(c.locked());
      break;
    case Prop::ToolTipText:
      showTip(c, w);
      break;
    case Prop::Min:
    case Prop::Max:
      showRange(c, w);
      break;
    case Prop::Left:
    case Prop::Top:
    case Prop::Width:
    case Prop::Height:
      showGeometry(c, w);
      break;
    case Prop::ForeColor:
    case Prop::BackColor:
    case Prop::FillColor:
    case Prop::BorderColor:
      showColors(c, w);
      break;
    case Prop::Repaint:
      w->repaint();
      break;
    case Prop::Interval:
      break;
  }
}

void FormBinder::showAll(Control& c) {
  QWidget* w = widget(c);
  ModelWrite write;
  showGeometry(c, w);
  showRange(c, w);
  showText(c, w);
  showCaption(c, w);
  showValue(c, w);
  showColors(c, w);
  showTip(c, w);
  if (auto* field = qobject_cast<QLineEdit*>(w)) field->setReadOnly(c.locked());
  w->setEnabled(c.enabled());
  w->setVisible(c.visible());
}

void FormBinder::showText(Control& c, QWidget* w) {
  auto* field = qobject_cast<QLineEdit*>(w);
  if (field == nullptr) return;
  const QString text = qstr(c.text());
  if (field->text() == text) return;
  const int cursor = field->cursorPosition();
  field->setText(text);
  field->setCursorPosition(std::min(cursor, static_cast<int>(text.size())));
}

void FormBinder::showTip(Control& c, QWidget* w) {
  QString tip = qstr(c.toolTip());
  if (placements_.at(&c).valueInTip && !c.text().empty()) {
    tip += (tip.isEmpty() ? "" : "\n") + qstr(c.text());
  }
  w->setToolTip(tip);
  showAccessible(c, w);
}

void FormBinder::showAccessible(Control& c, QWidget* w) {
  const Placement& where = placements_.at(&c);
  AccessibleText text{qstr(c.caption()), qstr(c.toolTip())};
  if (where.accessible) text = where.accessible(c);
  // Each setting tells a screen reader of a change: only a change is told.
  if (w->accessibleName() != text.name) w->setAccessibleName(text.name);
  if (w->accessibleDescription() != text.description) {
    w->setAccessibleDescription(text.description);
  }
}

void FormBinder::showCaption(Control& c, QWidget* w) {
  const Placement& where = placements_.at(&c);
  if (auto* label = qobject_cast<QLabel*>(w)) {
    label->setText(qstr(c.caption()));
  } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
    if (where.captionText) {
      button->setText(where.captionText(c.caption()).replace('&', "&&"));
    } else {
      button->setText(literalMnemonic(c.caption()));
    }
  } else if (auto* frame = qobject_cast<QGroupBox*>(w)) {
    frame->setTitle(literalMnemonic(c.caption()));
  }
}

void FormBinder::showValue(Control& c, QWidget* w) {
  if (auto* box = qobject_cast<QCheckBox*>(w)) {
    box->setCheckState(checkState(c.value()));
  } else if (auto* option = qobject_cast<ModelOption*>(w)) {
    option->showSelected(c.selected());
  } else if (auto* bar = qobject_cast<QScrollBar*>(w)) {
    bar->setValue(c.value());
  }
}

void FormBinder::showRange(Control& c, QWidget* w) {
  auto* bar = qobject_cast<QScrollBar*>(w);
  if (bar == nullptr) return;
  bar->setRange(std::min(c.min(), c.max()), std::max(c.min(), c.max()));
  bar->setSingleStep(c.smallChange());
  bar->setPageStep(c.largeChange());
  bar->setValue(c.value());
}

void FormBinder::followViews() {
  if (!*attached_) return;
  for (const auto& c : form_.controls()) {
    const auto it = placements_.find(c.get());
    if (it != placements_.end() && it->second.view) showGeometry(*c, widgets_.at(c.get()));
  }
}

void FormBinder::showGeometry(Control& c, QWidget* w) {
  const Placement& where = placements_.at(&c);
  QRect rect(floorPixels(c.left() - where.originXTwips), floorPixels(c.top()),
             roundPixels(c.width()), roundPixels(c.height()));
  if (auto* label = qobject_cast<QLabel*>(w)) {
    label->setWordWrap(rect.height() > 2 * label->fontMetrics().height());
  }
  if (where.reshape) rect = where.reshape(*w, rect);
  w->setGeometry(where.view ? where.view(rect) : rect);
}

void FormBinder::showColors(Control& c, QWidget* w) {
  QPalette pal = w->palette();
  switch (c.kind()) {
    case Kind::TextBox:
      pal.setColor(QPalette::Text, qcolor(c.foreColor()));
      pal.setColor(QPalette::Base, qcolor(c.backColor()));
      break;
    case Kind::Label:
      pal.setColor(QPalette::WindowText, qcolor(c.foreColor()));
      if (placements_.at(&c).boxed) pal.setColor(QPalette::Window, qcolor(c.backColor()));
      break;
    case Kind::CheckBox:
    case Kind::OptionButton:
      pal.setColor(QPalette::WindowText, qcolor(c.foreColor()));
      if (placements_.at(&c).boxed) pal.setColor(QPalette::Window, qcolor(c.backColor()));
      break;
    case Kind::CommandButton:
      pal.setColor(QPalette::Button, qcolor(c.backColor()));
      pal.setColor(QPalette::ButtonText, qcolor(c.foreColor()));
      break;
    case Kind::Shape:
      static_cast<MarkerShape*>(w)->setColors(qcolor(c.borderColor()), qcolor(c.fillColor()));
      return;
    default:
      return;
  }
  w->setPalette(pal);
}

}  // namespace velmora::qt
