// For a game run on a thread beside the window's: while one of these lives, the
// gravity passes of this thread run on it alone and leave the shared pool of
// threads to the game on screen (as a run ahead does).
#pragma once

#include <memory>

namespace velmora {

class PassesAlone {
 public:
  PassesAlone();
  ~PassesAlone();
  PassesAlone(const PassesAlone&) = delete;
  PassesAlone& operator=(const PassesAlone&) = delete;

 private:
  struct Held;
  std::unique_ptr<Held> held_;
};

}  // namespace velmora
