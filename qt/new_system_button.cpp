#include "qt/new_system_button.h"

#include <QEvent>
#include <QPushButton>
#include <memory>

#include "app/new_system.h"
#include "qt/model_call.h"
#include "state/game.h"

namespace velmora::qt {

namespace {

// Keeps the button on Go's place whenever Go's widget moves or is resized.
class FollowGo : public QObject {
 public:
  FollowGo(QPushButton& go, QPushButton& button) : QObject(&button), go_(go), button_(button) {
    go.installEventFilter(this);
  }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Move || event->type() == QEvent::Resize) {
      button_.setGeometry(go_.geometry());
    }
    return false;
  }

 private:
  QPushButton& go_;
  QPushButton& button_;
};

}  // namespace

QPushButton* makeNewSystemButton(Game& game, QPushButton& go) {
  auto* button = new QPushButton("New system", go.parentWidget());
  button->setToolTip("Back to the start with the panel as it is, for another Go (Ctrl+N)");
  button->setAccessibleName("New system");
  button->setGeometry(go.geometry());
  button->setVisible(false);
  new FollowGo(go, *button);
  Game* g = &game;
  QObject::connect(button, &QPushButton::clicked, button, [g] {
    if (ModelCall::running()) return;
    ModelCall call;
    g->fs7.focus(nullptr);  // a value being typed is applied first, as any click does
    newSystem(*g);
  });
  auto alive = std::make_shared<bool>(true);
  QObject::connect(button, &QObject::destroyed, [alive] { *alive = false; });
  game.fs7.observe([g, button, alive](Control& c, Prop prop) {
    if (!*alive || prop != Prop::Visible || &c != g->Command2) return;
    button->setVisible(!c.visible());
  });
  return button;
}

}  // namespace velmora::qt
