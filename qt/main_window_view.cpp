#include "qt/main_window_view.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTimer>
#include <algorithm>
#include <vector>

#include "app/layout.h"
#include "qt/field_canvas.h"
#include "qt/field_hands_keys.h"
#include "qt/help_window.h"
#include "qt/new_system_button.h"
#include "qt/panel_captions.h"
#include "qt/picture_file.h"
#include "qt/pictures.h"
#include "qt/shortcuts.h"
#include "qt/speed_label.h"
#include "qt/system_files.h"
#include "qt/time_view_keys.h"
#include "qt/timeline_bar.h"
#include "state/game.h"

namespace velmora::qt {

namespace {

bool standsOnField(const Game& g, const Control& c) {
  for (const Control* overlay :
       {g.ImSun, g.ImMoon, g.Shark, g.Label7, g.Label11, g.Picture1, g.PicA}) {
    if (&c == overlay) return true;
  }
  return false;
}

// The pictures that mark a place in the field: they move with its view.
bool marksThePicture(const Game& g, const Control& c) {
  return &c == g.ImSun || &c == g.Shark;
}

QColor qcolor(Rgb c) {
  return QColor(c.r, c.g, c.b);
}

// The room between two columns of the panel.
constexpr int kColumnGap = 8;
// The height of the caption line the window adds above the seed and clearing fields.
constexpr int kCaptionRow = 16;
// An editor field shows the longest number text the game writes: fifteen
// significant digits after a sign and "0.000" (smaller ones take an exponent).
constexpr int kEditorDigits = 15;
// The smallest type an intro box shrinks to on a narrow field.
constexpr int kLeastPointSize = 6;

}  // namespace

MainWindowView::MainWindowView(Game& game, std::function<void()> onClose)
    : game_(game), names_(controlNames(game)), onClose_(std::move(onClose)) {
  QFont f = font();
  f.setPointSize(std::max(9, f.pointSize()));
  setFont(f);
  QPalette black = palette();
  black.setColor(QPalette::Window, qcolor(game.fs7.backColor()));
  setPalette(black);
  setAutoFillBackground(true);

  panel_ = new QWidget(this);
  panel_->setObjectName("panel");
  // The rows from the seed's down to the web link's, which keeps its place at the
  // bottom, move down into the room above that link.
  bandTop_ = game.TXran->top() / kTwipsPerPixel;
  bandEnd_ = game.Command6->top() / kTwipsPerPixel;
  const QSize panelSize(kPanelWidth / kTwipsPerPixel, kPanelHeight / kTwipsPerPixel);
  panel_->setFixedSize(panelSize);
  QPalette face = panel_->palette();
  face.setColor(QPalette::Window, QColor(212, 208, 200));
  face.setColor(QPalette::WindowText, Qt::black);
  panel_->setPalette(face);
  panel_->setAutoFillBackground(true);

  // On a screen too low for the panel it scrolls; the field keeps its own height.
  strip_ = new QScrollArea(this);
  strip_->setFrameShape(QFrame::NoFrame);
  strip_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  strip_->setPalette(face);
  strip_->setWidget(panel_);
  canvas_ = new FieldCanvas(game, this);
  canvas_->setObjectName("field");
  timeline_ = new TimelineBar(game, this);
  setMinimumSize(stripWidth(0) + canvas_->minimumWidth(),
                 canvas_->minimumHeight() + TimelineBar::kHeight);
  {
    // The field's frame and margins around its text, as its style draws them.
    QLineEdit probe(panel_);
    probe.resize(200, 22);
    QStyleOptionFrame option;
    option.initFrom(&probe);
    option.lineWidth = probe.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &probe);
    const QRect inside =
        probe.style()->subElementRect(QStyle::SE_LineEditContents, &option, &probe);
    const int around = probe.width() - inside.width() + probe.textMargins().left() +
                       probe.textMargins().right() + 4;  // QLineEdit's own two pixels a side
    editorFieldWidth_ =
        probe.fontMetrics().horizontalAdvance("-0.000" + QString(kEditorDigits, '8')) + around;
  }

  binder_ =
      std::make_unique<FormBinder>(game.fs7, [this](const Control& c) { return placementFor(c); });
  if (auto* go = qobject_cast<QPushButton*>(binder_->widget(*game.Command2))) {
    go->setIcon(goIcon());
    if (QWidget* preset = binder_->widget(*game.CDp[0])) makeNewSystemButton(game, *go, *preset);
  }
  if (auto* pause = qobject_cast<QPushButton*>(binder_->widget(*game.Command5))) {
    pause->setIcon(pauseIcon());
  }

  makeCaptions();
  connect(canvas_, &FieldCanvas::viewChanged, this, [this] { binder_->followViews(); });
  if (QWidget* time = binder_->widget(*game.La[kLaTime])) new SpeedLabel(game.speed, time);

  orderTabsByPlace();
  installTimeAndViewKeys(*this, game, *canvas_);
  installFieldHandsKeys(*this, game, *canvas_);
  acceptSystemFileDrops(*this, game);
  installShortcuts(
      *this, game, *binder_, [this] { savePictureAsked(this, game_.surface); },
      [this] { showHelp(); });
  setWindowTitle(QString::fromStdString(game.fs7.caption()));
  fitField(FieldCanvas::fieldSizeFor(game.W(), game.H()));
  game.fs7.observeForm([this, alive = alive_](Form&, Prop prop) {
    if (*alive) showForm(prop);
  });
}

MainWindowView::~MainWindowView() {
  *alive_ = false;
  binder_->detach();
}

void MainWindowView::showHelp() {
  if (help_ == nullptr) help_ = new HelpWindow(this);
  help_->show();
  help_->raise();
  help_->activateWindow();
}

QLabel* MainWindowView::captionOf(const Control& field) const {
  for (const Caption& caption : captions_) {
    if (caption.field == &field) return caption.label;
  }
  return nullptr;
}

Placement MainWindowView::placementFor(const Control& c) const {
  Placement where;
  const Control* control = &c;
  where.accessible = [this](const Control& shown) { return accessibleTextOf(names_, shown); };
  if (standsOnField(game_, c)) {
    where.parent = canvas_;
    where.originXTwips = kFieldLeft;
    where.boxed = c.kind() == Kind::Label;
    where.align = Qt::AlignLeft | Qt::AlignTop;
    where.reshape = [this, control](QWidget& w, QRect r) { return reshapeOnField(w, *control, r); };
    if (marksThePicture(game_, c)) {
      const FieldCanvas* field = canvas_;
      where.view = [field](const QRect& box) { return field->view().follow(box); };
    }
    return where;
  }
  where.parent = panel_;
  where.reshape = [this, control](QWidget& w, QRect r) { return reshapePanel(w, *control, r); };
  for (const Control* value : game_.TXTp) where.valueInTip = where.valueInTip || &c == value;
  if (&c == game_.Chon) {
    where.boxed = true;
  } else if (const ControlName* row = rowOf(names_, c); row && row->voice == Voice::Readout) {
    where.boxed = true;
    where.readout = true;
    where.align = Qt::AlignCenter;
  } else if (&c == game_.Label1 || &c == game_.La[kLaPlanetGravity] || c.name() == "Label6") {
    where.align = Qt::AlignRight | Qt::AlignVCenter;
  }
  return where;
}

QRect MainWindowView::reshapePanel(QWidget& w, const Control& c, QRect rect) const {
  if (w.parentWidget() != panel_) return rect;  // inside a frame: the frame moves
  if (rect.y() >= bandTop_ && rect.y() < bandEnd_) rect.translate(0, kCaptionRow);
  // A caption a little longer than its cell takes the gap beside it.
  if (auto* label = qobject_cast<QLabel*>(&w); label != nullptr && !label->wordWrap()) {
    const int need = label->fontMetrics().horizontalAdvance(QString::fromStdString(c.caption())) +
                     label->contentsMargins().left() + label->contentsMargins().right() +
                     2 * label->margin();
    rect.setWidth(std::clamp(need, rect.width(), rect.width() + kColumnGap));
  }
  // The editor's numbers are wide: their fields take room from the scroll bars.
  for (size_t i = 0; i < game_.TXTp.size(); ++i) {
    if (&c == game_.TXTp[i]) rect.setWidth(std::max(rect.width(), editorFieldWidth_));
    if (i < game_.Hsp.size() && &c == game_.Hsp[i]) {
      const Control& field = *game_.TXTp[i];
      const int fieldRight = field.left() / kTwipsPerPixel +
                             std::max(field.width() / kTwipsPerPixel, editorFieldWidth_);
      const int gap = rect.x() - (field.left() + field.width()) / kTwipsPerPixel;
      const int left = std::min(fieldRight + gap, rect.right() - 40);
      if (left > rect.x()) rect.setLeft(left);
    }
  }
  return rect;
}

QRect MainWindowView::reshapeOnField(QWidget& w, const Control& c, QRect rect) const {
  if (&c == game_.Picture1 || &c == game_.PicA || &c == game_.ImMoon) {
    // The intro pictures shrink together, about their row's upper left, to the field's width.
    int left = rect.x();
    int right = 0;
    int top = rect.y();
    for (const Control* picture : {game_.Picture1, game_.PicA, game_.ImMoon}) {
      left = std::min(left, (picture->left() - kFieldLeft) / kTwipsPerPixel);
      right = std::max(right, (picture->left() + picture->width() - kFieldLeft) / kTwipsPerPixel);
      top = std::min(top, picture->top() / kTwipsPerPixel);
    }
    const double f = std::clamp(double(canvas_->width() - 2 * left) / (right - left), 0.1, 1.0);
    if (f == 1.0) return rect;
    return QRect(left + qRound((rect.x() - left) * f), top + qRound((rect.y() - top) * f),
                 qRound(rect.width() * f), qRound(rect.height() * f));
  }
  auto* label = qobject_cast<QLabel*>(&w);
  if (label == nullptr || (&c != game_.Label7 && &c != game_.Label11)) return rect;
  // An intro box stays on the field: it narrows, wraps, and its type shrinks
  // until the text fits the box's height.
  const int room = canvas_->width() - rect.x() - rect.x();
  rect.setWidth(std::clamp(room, std::min(rect.width(), 120), rect.width()));
  QFont f = canvas_->font();
  label->setWordWrap(true);
  label->setFont(f);
  while (label->heightForWidth(rect.width()) > rect.height() && f.pointSize() > kLeastPointSize) {
    f.setPointSize(f.pointSize() - 1);
    label->setFont(f);
  }
  rect.setHeight(std::max(rect.height(), label->heightForWidth(rect.width())));
  return rect;
}

void MainWindowView::makeCaptions() {
  QPalette face = panel_->palette();
  for (const FieldCaption& caption : bareFieldCaptions(game_)) {
    auto* label = new QLabel(caption.text, panel_);
    label->setObjectName(QString::fromStdString(caption.field->id()) + "Caption");
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setPalette(face);
    captions_.push_back({caption.field, caption.gameCaption, label});
    for (const Control* c : {caption.field, caption.gameCaption}) {
      if (c == nullptr) continue;
      QWidget* w = binder_->widget(*c);
      w->installEventFilter(this);
      label->setToolTip(QString::fromStdString(caption.field->toolTip()));
    }
  }
  binder_->widget(*game_.Frame2)->installEventFilter(this);
  showCaptions();
}

void MainWindowView::showCaptions() {
  for (const Caption& caption : captions_) {
    const QWidget* field = binder_->widget(*caption.field);
    const bool given = caption.gameCaption != nullptr &&
                       binder_->widget(*caption.gameCaption)->isVisibleTo(panel_);
    const QRect at = field->geometry();
    const int width = std::max(at.width(), caption.label->sizeHint().width());
    caption.label->setGeometry(at.x(), at.y() - kCaptionRow, width, kCaptionRow);
    caption.label->setVisible(field->isVisibleTo(panel_) && !given);
  }
}

void MainWindowView::showEditor() {
  // Last the top, so that it shows when the strip is lower than the whole editor.
  for (Control* c : {game_.Label10, game_.TXTp[kTxtpGravity], game_.La[kLaPlanet]}) {
    QWidget* w = binder_->widget(*c);
    if (w->isVisibleTo(panel_)) strip_->ensureWidgetVisible(w, 0, 4);
  }
}

bool MainWindowView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Show || event->type() == QEvent::Hide) {
    QTimer::singleShot(0, this, [this] { showCaptions(); });
  }
  if (event->type() == QEvent::Show && watched == binder_->widget(*game_.Frame2)) {
    QTimer::singleShot(0, this, [this] { showEditor(); });
  }
  return QWidget::eventFilter(watched, event);
}

void MainWindowView::showForm(Prop prop) {
  const Form& f = game_.fs7;
  switch (prop) {
    case Prop::Caption:
      setWindowTitle(QString::fromStdString(f.caption()));
      break;
    case Prop::Visible:
      setVisible(f.visible());
      break;
    case Prop::Enabled:
      setEnabled(f.enabled());
      break;
    case Prop::Width:
    case Prop::Height: {
      // A size the model set itself (not one the canvas reported): the canvas
      // takes it, the window around it grows or shrinks by as much.
      const QSize want = FieldCanvas::fieldSizeFor(f.width(), f.height());
      if (want != canvas_->size()) fitField(want);
      break;
    }
    default:
      break;
  }
}

void MainWindowView::orderTabsByPlace() {
  // Tab and Return walk the panel in reading order, not in the order of creation.
  std::vector<QWidget*> stops;
  for (const auto& c : game_.fs7.controls()) {
    QWidget* w = binder_->widget(*c);
    if (w != nullptr && panel_->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus)) {
      stops.push_back(w);
    }
  }
  auto place = [this](QWidget* w) {
    const QPoint at = w->mapTo(panel_, QPoint(0, 0));
    return std::pair(at.y(), at.x());
  };
  std::stable_sort(stops.begin(), stops.end(),
                   [&](QWidget* a, QWidget* b) { return place(a) < place(b); });
  for (size_t i = 1; i < stops.size(); ++i) setTabOrder(stops[i - 1], stops[i]);
}

int MainWindowView::stripWidth(int windowHeight) const {
  const int panelWidth = panel_->width();
  if (windowHeight >= panel_->height()) return panelWidth;
  return panelWidth + style()->pixelMetric(QStyle::PM_ScrollBarExtent);
}

void MainWindowView::fitField(QSize field) {
  const int height = field.height() + TimelineBar::kHeight;
  resize(stripWidth(height) + field.width(), height);
}

void MainWindowView::fitScreen() {
  const QScreen* s = screen();
  if (s == nullptr) return;
  // Room for the window's frame and title bar, which the size does not include.
  const QSize room = s->availableGeometry().size() * 19 / 20;
  const QSize fitted = size().boundedTo(room).expandedTo(minimumSize());
  if (fitted != size()) resize(fitted);
}

void MainWindowView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const int strip = stripWidth(height());
  strip_->setVerticalScrollBarPolicy(strip > panel_->width() ? Qt::ScrollBarAsNeeded
                                                             : Qt::ScrollBarAlwaysOff);
  strip_->setGeometry(0, 0, strip, height());
  const int field = std::max(0, height() - TimelineBar::kHeight);
  canvas_->setGeometry(strip, 0, width() - strip, field);
  timeline_->setGeometry(strip, field, width() - strip, height() - field);
  if (binder_) binder_->reshowGeometry();
}

void MainWindowView::closeEvent(QCloseEvent* event) {
  event->accept();
  if (onClose_) onClose_();
}

}  // namespace velmora::qt
