// What the game asks of the face that runs it, beyond the forms themselves.
#pragma once

#include <string>

namespace velmora {

class Host {
 public:
  virtual ~Host() = default;
  // Opens the page in the desktop's browser without waiting; false when none could
  // be started.
  virtual bool openUrl(const std::string& url) = 0;
  // A message box with the critical icon, a title and one OK button; returns when
  // it is dismissed.
  virtual void messageBox(const std::string& title, const std::string& text) = 0;
  // Ends the program at once: all windows close, nothing is saved.
  virtual void endProgram() = 0;
};

}  // namespace velmora
