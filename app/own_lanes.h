// For a game run on a thread beside the window's (a run ahead, an export): while
// one of these lives, the gravity passes of this thread run on threads of their
// own, as many as the game's, and leave the shared pool to the game on screen.
// While the game is paused its threads are idle, so the run beside takes the cores.
#pragma once

#include <memory>

namespace velmora {

class OwnLanes {
 public:
  OwnLanes();
  ~OwnLanes();
  OwnLanes(const OwnLanes&) = delete;
  OwnLanes& operator=(const OwnLanes&) = delete;

 private:
  struct Held;
  std::unique_ptr<Held> held_;
};

}  // namespace velmora
