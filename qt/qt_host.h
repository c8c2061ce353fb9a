// What the game asks of the desktop: the browser, a message box, the end.
#pragma once

#include <QWidget>
#include <functional>

#include "state/host.h"

namespace velmora::qt {

class QtHost final : public Host {
 public:
  // `dialogParent` gives the window a message box stands over; `end` closes the
  // windows and leaves the event loop.
  QtHost(std::function<QWidget*()> dialogParent, std::function<void()> end)
      : dialogParent_(std::move(dialogParent)), end_(std::move(end)) {}

  bool openUrl(const std::string& url) override;
  void messageBox(const std::string& title, const std::string& text) override;
  void endProgram() override;

 private:
  std::function<QWidget*()> dialogParent_;
  std::function<void()> end_;
};

}  // namespace velmora::qt
