// The face calls into the game one event at a time. While a handler runs (also
// inside a message box's nested event loop) no timer tick may start another, and
// while the model writes into widgets the signals this raises must not re-enter it.
#pragma once

namespace velmora::qt {

// Marks a player action or a timer tick running in the game.
class ModelCall {
 public:
  ModelCall() { ++depth_; }
  ~ModelCall() { --depth_; }
  ModelCall(const ModelCall&) = delete;
  ModelCall& operator=(const ModelCall&) = delete;
  static bool running() { return depth_ > 0; }

 private:
  static inline int depth_ = 0;
};

// Marks the model updating widgets: widget signals raised meanwhile are echoes.
class ModelWrite {
 public:
  ModelWrite() { ++depth_; }
  ~ModelWrite() { --depth_; }
  ModelWrite(const ModelWrite&) = delete;
  ModelWrite& operator=(const ModelWrite&) = delete;
  static bool active() { return depth_ > 0; }

 private:
  static inline int depth_ = 0;
};

}  // namespace velmora::qt
