// The player's hands on the paused field: a click picks a body, a left drag from
// the selected body moves it, a right drag (or Shift with the left button) aims
// its momentum; the selected body's momentum shows as an arrow and the next ticks
// as faint paths, computed on a copy of the game on a thread of their own. Every
// edit is the game's own tool (app/field_tools.h); this only maps the mouse.
#pragma once

#include <QObject>
#include <QPointF>
#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

class QMouseEvent;
class QPainter;
class QWidget;

namespace velmora {
class Game;
}

namespace velmora::qt {

class FieldView;

class FieldHands : public QObject {
  Q_OBJECT
 public:
  // A momentum of m twips a tick is drawn as an arrow m times this long.
  static constexpr double kArrowTicks = 10;

  FieldHands(Game& game, QWidget& canvas, const FieldView& view);
  ~FieldHands() override;

  // Mouse events of the canvas; true when the hands took the event (paused, on a
  // body or aiming), false to leave it to the view's pan.
  bool press(QMouseEvent* event);
  bool move(QMouseEvent* event);
  bool release(QMouseEvent* event);
  // The arrow, the gesture under way and the paths, over the picture.
  void paint(QPainter& p) const;
  // Called every frame: starts a new preview when the paused game changed.
  void refresh();

  // The keys: a body at the cursor (or the middle), the orbit, every body's paths.
  void addAtCursor();
  void orbit();
  void togglePreviewAll();
  // Halves or doubles the ticks previewed, within kFewestTicks..kMostTicks.
  void previewFewer();
  void previewMore();
  static constexpr int kFewestTicks = 75;
  static constexpr int kMostTicks = 4800;
  bool previewsAll() const { return previewAll_; }
  int previewTicks() const { return previewTicks_; }
  // Whether paths for the game as it stands are shown (tests wait for this).
  bool previewReady() const { return previewDone_ && !dirty_; }
  // Body i's path of the last preview, in twips; empty when not previewed.
  const std::vector<QPointF>& pathOf(int body) const;

  // Field twips of a widget point, and back.
  QPointF toTwips(QPointF widget) const;
  QPointF toWidget(QPointF twips) const;

 private:
  enum class Gesture { kNone, kMove, kAim };
  struct Paths {
    uint64_t generation = 0;
    std::vector<std::vector<QPointF>> bodies;  // indexed by body
  };

  double reachTwips() const;
  void startPreview();
  void stopPreview();
  void edited();

  Game& game_;
  QWidget& canvas_;
  const FieldView& view_;
  Gesture gesture_ = Gesture::kNone;
  QPointF pressAt_;  // widget position where the gesture began
  QPointF cursor_;   // widget position of the gesture under way
  bool previewAll_ = false;
  int previewTicks_ = 300;
  bool dirty_ = true;
  bool previewDone_ = false;
  uint64_t generation_ = 0;
  std::unique_ptr<Paths> paths_;
  std::thread worker_;
  std::atomic<bool> cancel_{false};
  std::atomic<bool> running_{false};
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);  // for the game's observer
};

}  // namespace velmora::qt
