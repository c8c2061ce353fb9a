#include "qt/main_window_view.h"

#include <QCloseEvent>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <algorithm>
#include <vector>

#include "app/game.h"
#include "app/layout.h"
#include "qt/field_canvas.h"
#include "qt/help_window.h"
#include "qt/picture_file.h"
#include "qt/pictures.h"
#include "qt/shortcuts.h"
#include "qt/system_files.h"

namespace velmora::qt {

namespace {

bool standsOnField(const Game& g, const Control& c) {
  for (const Control* overlay :
       {g.ImSun, g.ImMoon, g.Shark, g.Label7, g.Label11, g.Picture1, g.PicA}) {
    if (&c == overlay) return true;
  }
  return false;
}

bool isReadout(const Game& g, const Control& c) {
  for (const Control* value : {g.LaTT, g.Label2, g.Label3, g.Label4, g.Label5, g.LaPL, g.LaVida}) {
    if (&c == value) return true;
  }
  return false;
}

QColor qcolor(Rgb c) {
  return QColor(c.r, c.g, c.b);
}

}  // namespace

MainWindowView::MainWindowView(Game& game, std::function<void()> onClose)
    : game_(game), onClose_(std::move(onClose)) {
  QFont f = font();
  f.setPointSize(std::max(9, f.pointSize()));
  setFont(f);
  QPalette black = palette();
  black.setColor(QPalette::Window, qcolor(game.fs7.backColor()));
  setPalette(black);
  setAutoFillBackground(true);

  panel_ = new QWidget(this);
  panel_->setObjectName("panel");
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
  setMinimumSize(stripWidth(0) + canvas_->minimumWidth(), canvas_->minimumHeight());

  binder_ =
      std::make_unique<FormBinder>(game.fs7, [this](const Control& c) { return placementFor(c); });
  if (auto* go = qobject_cast<QPushButton*>(binder_->widget(*game.Command2))) {
    go->setIcon(goIcon());
  }
  if (auto* pause = qobject_cast<QPushButton*>(binder_->widget(*game.Command5))) {
    pause->setIcon(pauseIcon());
  }

  orderTabsByPlace();
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

Placement MainWindowView::placementFor(const Control& c) const {
  Placement where;
  if (standsOnField(game_, c)) {
    where.parent = canvas_;
    where.originXTwips = kFieldLeft;
    where.boxed = c.kind() == Kind::Label;
    where.align = Qt::AlignLeft | Qt::AlignTop;
    return where;
  }
  where.parent = panel_;
  if (&c == game_.Chon) {
    where.boxed = true;
  } else if (isReadout(game_, c)) {
    where.boxed = true;
    where.align = Qt::AlignCenter;
  } else if (&c == game_.Label1 || &c == game_.La[15] || c.name() == "Label6") {
    where.align = Qt::AlignRight | Qt::AlignVCenter;
  }
  return where;
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
  const int panelWidth = kPanelWidth / kTwipsPerPixel;
  if (windowHeight >= kPanelHeight / kTwipsPerPixel) return panelWidth;
  return panelWidth + style()->pixelMetric(QStyle::PM_ScrollBarExtent);
}

void MainWindowView::fitField(QSize field) {
  resize(stripWidth(field.height()) + field.width(), field.height());
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
  canvas_->setGeometry(strip, 0, width() - strip, height());
}

void MainWindowView::closeEvent(QCloseEvent* event) {
  event->accept();
  if (onClose_) onClose_();
}

}  // namespace velmora::qt
