// The simulation speed on the panel, at the right end of the "Time" caption:
// "x4", "x1/2", with "behind" while the periods cannot hold their ticks.
#pragma once

#include <QLabel>

namespace velmora {
class TimeSpeed;
}

namespace velmora::qt {

class SpeedLabel : public QLabel {
  Q_OBJECT
 public:
  // Stands inside `caption` and fills it; shows `speed` until destroyed.
  SpeedLabel(TimeSpeed& speed, QWidget* caption);
  ~SpeedLabel() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void showSpeed();

  TimeSpeed& speed_;
};

}  // namespace velmora::qt
