// The end screen FormEnd: a second top-level window with its own picture and the
// buttons of the form.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "qt/form_binder.h"

namespace velmora {
class Game;
}

namespace velmora::qt {

class EndWindowView : public QWidget {
  Q_OBJECT
 public:
  EndWindowView(Game& game, std::function<void()> onClose);
  ~EndWindowView() override;

  FormBinder& binder() { return *binder_; }
  // Shrinks the screen, its picture and its buttons alike to fit the screen it is on.
  void fitScreen();
  double scale() const { return scale_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void showForm(Prop prop);

  Game& game_;
  double scale_ = 1.0;
  std::function<void()> onClose_;
  std::unique_ptr<FormBinder> binder_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace velmora::qt
