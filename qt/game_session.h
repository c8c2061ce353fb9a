// One game in its windows: the real clock, the tally file, the game, its two
// windows and its timers, put together in the order the game needs (observers
// first, then Load, then the windows shown as the model says).
#pragma once

#include <memory>
#include <string>

#include "form/clock.h"
#include "platform/tally_file.h"
#include "qt/qt_host.h"
#include "state/game.h"

namespace velmora::qt {

class MainWindowView;
class EndWindowView;
class TimerDriver;

class GameSession {
 public:
  explicit GameSession(std::string tallyPath);
  ~GameSession();
  GameSession(const GameSession&) = delete;
  GameSession& operator=(const GameSession&) = delete;

  // Runs the window's Load and shows the windows the model shows.
  void start();

  Game& game() { return game_; }
  MainWindowView& mainWindow() { return *main_; }
  EndWindowView& endWindow() { return *end_; }
  TimerDriver& timers() { return *timers_; }
  QWidget* widget(const Control& control) const;
  bool ended() const { return ended_; }

 private:
  void end();

  SystemClock clock_;
  QtHost host_;
  TallyFile tally_;
  Game game_;
  std::unique_ptr<MainWindowView> main_;
  std::unique_ptr<EndWindowView> end_;
  std::unique_ptr<TimerDriver> timers_;
  bool ended_ = false;
};

}  // namespace velmora::qt
