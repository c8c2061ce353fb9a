// A whole game without a window: virtual time from 12:00:00, a host that records
// what it is asked, the tally kept in memory. Tests drive it as a player would.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "form/player.h"
#include "form/scheduler.h"
#include "state/game.h"

namespace velmora::testing {

class RecordingHost final : public Host {
 public:
  bool openUrl(const std::string& url) override {
    opened.push_back(url);
    return browserWorks;
  }
  void messageBox(const std::string& title, const std::string& text) override {
    boxes.emplace_back(title, text);
  }
  void endProgram() override { ended = true; }

  bool browserWorks = true;
  std::vector<std::string> opened;
  std::vector<std::pair<std::string, std::string>> boxes;
  bool ended = false;
};

class GameFixture {
 public:
  explicit GameFixture(bool runLoad = true) {
    if (runLoad) g.load();
  }

  void type(Control& field, const std::string& text) { playerType(field, text); }
  void leave(Control& field) { playerLeave(field); }
  void enter(Control& field, const std::string& text) {
    playerType(field, text);
    playerLeave(field);
  }
  void click(Control& control) { playerClick(control); }
  void dblclick(Control& control) { playerDoubleClick(control); }
  void scroll(Control& bar, int value) { playerScroll(bar, value); }
  void wait(int ms) { advanceTimers(g.fs7, clock, ms); }

  VirtualClock clock;
  RecordingHost host;
  MemoryTallyStorage tally;
  Game g{clock, host, tally};
};

}  // namespace velmora::testing
