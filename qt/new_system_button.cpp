#include "qt/new_system_button.h"

#include <QEvent>
#include <QPushButton>
#include <QRect>
#include <memory>

#include "app/new_system.h"
#include "qt/model_call.h"
#include "state/game.h"

namespace velmora::qt {

namespace {

// Go's column on the presets' row: free while a system runs. Go's own place is not,
// for Pause moves there.
QRect placeFor(const QWidget& go, const QWidget& preset) {
  return {go.x(), preset.y(), go.width(), preset.height()};
}

// Keeps the button in its place whenever Go's widget or the preset's moves or is
// resized.
class FollowGo : public QObject {
 public:
  FollowGo(QWidget& go, QWidget& preset, QPushButton& button)
      : QObject(&button), go_(go), preset_(preset), button_(button) {
    go.installEventFilter(this);
    preset.installEventFilter(this);
  }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Move || event->type() == QEvent::Resize) {
      button_.setGeometry(placeFor(go_, preset_));
    }
    return false;
  }

 private:
  QWidget& go_;
  QWidget& preset_;
  QPushButton& button_;
};

}  // namespace

QPushButton* makeNewSystemButton(Game& game, QPushButton& go, QWidget& preset) {
  auto* button = new QPushButton("New system", go.parentWidget());
  button->setToolTip("Back to the start with the panel as it is, for another Go (Ctrl+N)");
  button->setAccessibleName("New system");
  button->setGeometry(placeFor(go, preset));
  button->setVisible(false);
  new FollowGo(go, preset, *button);
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
