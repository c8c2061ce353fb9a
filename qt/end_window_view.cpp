#include "qt/end_window_view.h"

#include <QCloseEvent>
#include <QPainter>

#include "app/game.h"
#include "form/surface.h"
#include "qt/pictures.h"

namespace velmora::qt {

EndWindowView::EndWindowView(Game& game, std::function<void()> onClose)
    : game_(game), onClose_(std::move(onClose)) {
  QFont f = font();
  f.setPointSize(std::max(9, f.pointSize()));
  setFont(f);
  binder_ = std::make_unique<FormBinder>(game.formEnd, [this](const Control&) {
    Placement where;
    where.parent = this;
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
      setFixedSize(f.width() / kTwipsPerPixel, f.height() / kTwipsPerPixel);
      break;
    default:
      break;
  }
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
