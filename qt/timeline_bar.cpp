#include "qt/timeline_bar.h"

#include <algorithm>
#include <limits>

#include "app/time_control.h"
#include "app/timeline.h"
#include "qt/model_call.h"
#include "qt/seek_progress.h"
#include "state/game.h"

namespace velmora::qt {

namespace {

constexpr int kLabelWidth = 190;  // logical pixels: "tick 2147483647, 99999.99 s"
constexpr int kFollowMs = 100;

}  // namespace

TimelineBar::TimelineBar(Game& game, QWidget* parent)
    : QWidget(parent),
      game_(game),
      slider_(new QSlider(Qt::Horizontal, this)),
      label_(new QLabel(this)) {
  setObjectName("timeline");
  slider_->setObjectName("timelineSlider");
  slider_->setAccessibleName("Timeline");
  slider_->setAccessibleDescription("The moments since Go; drag while paused to go back");
  // Let go first, then seek: a far seek replays many ticks.
  slider_->setTracking(false);
  slider_->setFocusPolicy(Qt::NoFocus);
  label_->setObjectName("timelineMoment");
  QPalette dark = palette();
  dark.setColor(QPalette::Window, Qt::black);
  dark.setColor(QPalette::WindowText, QColor(200, 200, 200));
  setPalette(dark);
  setAutoFillBackground(true);
  connect(slider_, &QSlider::sliderMoved, this, [this](int tick) { showMoment(tick); });
  connect(slider_, &QSlider::valueChanged, this, [this](int tick) { seek(tick); });
  connect(&poll_, &QTimer::timeout, this, [this] { follow(); });
  poll_.start(kFollowMs);
  follow();
}

void TimelineBar::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const int labelWidth = std::min(kLabelWidth, width() / 2);
  slider_->setGeometry(4, 0, std::max(0, width() - labelWidth - 8), height());
  label_->setGeometry(width() - labelWidth, 0, labelWidth, height());
}

void TimelineBar::follow() {
  if (slider_->isSliderDown() || ModelCall::running()) return;
  const Timeline& t = *game_.timeline;
  const int most = std::numeric_limits<int>::max();
  const ModelWrite echo;  // the value set here is no seek
  slider_->setRange(static_cast<int>(t.first()),
                    static_cast<int>(std::min<long long>(t.last(game_), most)));
  slider_->setValue(static_cast<int>(std::min<long long>(t.tick(), most)));
  slider_->setEnabled(t.started() && pausedForEditing(game_));
  showMoment(t.tick());
}

void TimelineBar::showMoment(long long tick) {
  const double seconds = static_cast<double>(tick) * game_.Ti->interval() / 1000.0;
  label_->setText(QString("tick %1, %2 s").arg(tick).arg(seconds, 0, 'f', 2));
}

void TimelineBar::seek(int tick) {
  if (ModelWrite::active() || ModelCall::running()) return;
  if (tick == game_.timeline->tick()) return;
  {
    ModelCall call;
    seekShowingProgress(window(), game_, tick);
  }
  follow();
}

}  // namespace velmora::qt
