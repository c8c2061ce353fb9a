#include "qt/game_session.h"

#include <QCoreApplication>

#include "qt/end_window_view.h"
#include "qt/main_window_view.h"
#include "qt/model_call.h"
#include "qt/timer_driver.h"

namespace velmora::qt {

GameSession::GameSession(std::string tallyPath)
    : host_(
          [this]() -> QWidget* {
            if (end_ && end_->isVisible()) return end_.get();
            return main_.get();
          },
          [this] { end(); }),
      tally_(std::move(tallyPath)),
      game_(clock_, host_, tally_) {
  main_ = std::make_unique<MainWindowView>(game_, [this] { host_.endProgram(); });
  end_ = std::make_unique<EndWindowView>(game_, [this] { host_.endProgram(); });
  timers_ = std::make_unique<TimerDriver>(game_.fs7, game_.Ti);
  timers_->reportPreciseTicks([this](int64_t spentMs, int periodMs) {
    game_.speed.reportPeriod(spentMs, periodMs, clock_.nowMs());
  });
}

GameSession::~GameSession() {
  timers_->stopAll();
  main_->binder().detach();
  end_->binder().detach();
}

void GameSession::start() {
  {
    ModelCall call;
    game_.load();
  }
  main_->setVisible(game_.fs7.visible());
  end_->setVisible(game_.formEnd.visible());
}

QWidget* GameSession::widget(const Control& control) const {
  if (&control.form() == &game_.formEnd) return end_->binder().widget(control);
  return main_->binder().widget(control);
}

void GameSession::end() {
  if (ended_) return;
  ended_ = true;
  timers_->stopAll();
  main_->binder().detach();
  end_->binder().detach();
  main_->hide();
  end_->hide();
  QCoreApplication::exit(0);
}

}  // namespace velmora::qt
