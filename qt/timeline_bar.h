// The timeline bar under the field: a slider over the moments since "Go", with the
// moment's tick and virtual time. It follows the game a few times a second and
// moves the game along its timeline when the player lets go of the slider, only
// while paused. It stands where the window's bottom 300 twips are, below the field.
#pragma once

#include <QLabel>
#include <QSlider>
#include <QTimer>
#include <QWidget>

namespace velmora {
class Game;
}

namespace velmora::qt {

class TimelineBar : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kHeight = 20;  // logical pixels: 300 twips

  TimelineBar(Game& game, QWidget* parent);

  QSlider& slider() { return *slider_; }
  QLabel& label() { return *label_; }
  // Takes the game's timeline as it stands now.
  void follow();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void showMoment(long long tick);
  void seek(int tick);

  Game& game_;
  QSlider* slider_;
  QLabel* label_;
  QTimer poll_;
};

}  // namespace velmora::qt
