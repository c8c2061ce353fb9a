// A host for games played by a fuzzer: the browser always opens, message boxes
// close at once, and ending the program is only noted.
#pragma once

#include <string>

#include "state/host.h"

namespace velmora {

class QuietHost final : public Host {
 public:
  bool openUrl(const std::string&) override { return true; }
  void messageBox(const std::string&, const std::string&) override {}
  void endProgram() override { ended = true; }
  bool ended = false;
};

}  // namespace velmora
