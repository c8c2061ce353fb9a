#include "qt/end_window_view.h"

#include <QCloseEvent>
#include <QPainter>
#include <QScreen>
#include <algorithm>

#include "form/surface.h"
#include "qt/pictures.h"
#include "qt/web_page.h"
#include "state/game.h"

namespace velmora::qt {

EndWindowView::EndWindowView(Game& game, std::function<void()> onClose)
    : game_(game), onClose_(std::move(onClose)) {
  QFont f = font();
  f.setPointSize(std::max(9, f.pointSize()));
  setFont(f);
  binder_ = std::make_unique<FormBinder>(game.formEnd, [this](const Control& c) {
    Placement where;
    where.parent = this;
    where.reshape = [this](QWidget&, QRect r) {
      if (scale_ == 1.0) return r;
      const QPoint from(qRound(r.left() * scale_), qRound(r.top() * scale_));
      const QPoint to(qRound((r.right() + 1) * scale_), qRound((r.bottom() + 1) * scale_));
      return QRect(from, to - QPoint(1, 1));
    };
    if (&c == game_.EndCommand2) {
      where.captionText = [](const std::string& url) { return linkText(url); };
      where.accessible = [](const Control& link) {
        if (link.caption().empty()) return AccessibleText{"Web page", "Opens our web page"};
        return AccessibleText{linkText(link.caption()), QString::fromStdString(link.caption())};
      };
    } else {
      where.accessible = [](const Control& button) {
        return AccessibleText{QString::fromStdString(button.caption()), "Leave the game"};
      };
    }
    return where;
  });
  showForm(Prop::Caption);
  showForm(Prop::Width);
  showForm(Prop::Enabled);
  game.formEnd.observeForm([this, alive = alive_](Form&, Prop prop) {
    if (*alive) showForm(prop);
  });
}

EndWindowView::~EndWindowView() {
  *alive_ = false;
  binder_->detach();
}

void EndWindowView::showForm(Prop prop) {
  const Form& f = game_.formEnd;
  switch (prop) {
    case Prop::Caption:
      setWindowTitle(QString::fromStdString(f.caption()));
      break;
    case Prop::Visible:
      if (f.visible()) fitScreen();
      setVisible(f.visible());
      if (f.visible()) {
        raise();
        activateWindow();
      }
      break;
    case Prop::Enabled:
      setEnabled(f.enabled());
      break;
    case Prop::Width:
    case Prop::Height:
      fitScreen();
      break;
    default:
      break;
  }
}

void EndWindowView::fitScreen() {
  const QSize full(game_.formEnd.width() / kTwipsPerPixel, game_.formEnd.height() / kTwipsPerPixel);
  scale_ = 1.0;
  if (const QScreen* s = screen(); s != nullptr && !full.isEmpty()) {
    // Room for the frame and title bar, which the size does not include.
    const QSize room = s->availableGeometry().size() * 9 / 10;
    scale_ =
        std::min({1.0, double(room.width()) / full.width(), double(room.height()) / full.height()});
  }
  setFixedSize(qRound(full.width() * scale_), qRound(full.height() * scale_));
  binder_->reshowGeometry();
}

void EndWindowView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(rect(), QColor(game_.formEnd.backColor().r, game_.formEnd.backColor().g,
                            game_.formEnd.backColor().b));
  paintEndScreen(p, QRectF(rect()));
}

void EndWindowView::closeEvent(QCloseEvent* event) {
  event->accept();
  if (onClose_) onClose_();
}

}  // namespace velmora::qt
