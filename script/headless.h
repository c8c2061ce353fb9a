// A game without a window: virtual time, a host that reports what a window would
// have shown, and the playing field written as a PNG. The script runner and the
// picture renderer both drive one.
#pragma once

#include <QImage>
#include <ostream>
#include <string>

#include "form/clock.h"
#include "form/surface.h"
#include "state/game.h"
#include "state/tally_storage.h"

namespace velmora {

// Prints the messages and pages a window would have shown.
class ScriptHost final : public Host {
 public:
  explicit ScriptHost(std::ostream& out) : out_(out) {}
  bool openUrl(const std::string& url) override;
  void messageBox(const std::string& title, const std::string& text) override;
  void endProgram() override { ended = true; }
  bool ended = false;

 private:
  std::ostream& out_;
};

// The clock, host and game of one headless run, loaded and ready.
class HeadlessGame {
 public:
  HeadlessGame(TallyStorage& tally, std::ostream& out);
  HeadlessGame(const HeadlessGame&) = delete;
  HeadlessGame& operator=(const HeadlessGame&) = delete;

  Game& game() { return game_; }
  VirtualClock& clock() { return clock_; }
  bool ended() const { return host_.ended; }
  // Lets `ms` of virtual time pass; stops early when the game ends the program.
  void wait(long long ms);

 private:
  VirtualClock clock_;
  ScriptHost host_;
  Game game_;
};

// Writes the surface as a PNG; false when the file cannot be written.
bool writePng(const Surface& surface, const std::string& path);
// The same for any picture of the field (Format_RGB32).
bool writePng(const QImage& image, const std::string& path);

}  // namespace velmora
