#include "qt/speed_label.h"

#include <QEvent>

#include "state/time_speed.h"

namespace velmora::qt {

SpeedLabel::SpeedLabel(TimeSpeed& speed, QWidget* caption) : QLabel(caption), speed_(speed) {
  setObjectName("speed");
  setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  setAttribute(Qt::WA_TransparentForMouseEvents);  // a click still reaches the caption
  setGeometry(caption->rect());
  caption->installEventFilter(this);
  speed_.onCaptionChange = [this] { showSpeed(); };
  showSpeed();
}

SpeedLabel::~SpeedLabel() {
  speed_.onCaptionChange = nullptr;
}

bool SpeedLabel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parent() && event->type() == QEvent::Resize) setGeometry(parentWidget()->rect());
  return QLabel::eventFilter(watched, event);
}

void SpeedLabel::showSpeed() {
  setText(QString::fromStdString(speed_.caption()));
  setToolTip(speed_.behind() ? "Simulation speed: the periods cannot hold their ticks, so the "
                               "system runs slower than asked"
                             : "Simulation speed: ticks per period of the simulation timer");
}

}  // namespace velmora::qt
