#include "qt/field_hands.h"

#include <QCursor>
#include <QLineF>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <utility>

#include "app/field_tools.h"
#include "app/preview.h"
#include "app/time_control.h"
#include "qt/field_view.h"
#include "qt/model_call.h"
#include "state/game.h"

namespace velmora::qt {

namespace {

const std::vector<QPointF> kNoPath;

QColor bodyColour(const World& w, int i, int alpha) {
  return QColor(static_cast<int>(w.PlanetRed[i]) & 255, static_cast<int>(w.PlanetGreen[i]) & 255,
                static_cast<int>(w.PlanetBlue[i]) & 255, alpha);
}

void drawArrow(QPainter& p, QPointF from, QPointF to, const QColor& colour) {
  p.setPen(QPen(colour, 2));
  p.drawLine(from, to);
  const QLineF shaft(to, from);
  if (shaft.length() < 4) return;
  QLineF head = shaft;
  head.setLength(10);
  QLineF left = head, right = head;
  left.setAngle(shaft.angle() + 25);
  right.setAngle(shaft.angle() - 25);
  p.drawLine(left);
  p.drawLine(right);
}

}  // namespace

FieldHands::FieldHands(Game& game, QWidget& canvas, const FieldView& view)
    : game_(game), canvas_(canvas), view_(view) {
  std::weak_ptr<bool> alive = alive_;
  game_.fs7.observe([this, alive](Control& c, Prop prop) {
    if (alive.expired()) return;
    // The marker's blink changes colours only; an edit, a selection, an option or
    // a resume changes a text, a value or a timer.
    if (prop != Prop::Text && prop != Prop::Value && prop != Prop::Enabled) return;
    dirty_ = true;
    // The game's own ticks take the cores again: the run ahead stops first.
    if (&c == game_.Ti && c.enabled()) stopPreview();
  });
}

FieldHands::~FieldHands() {
  alive_.reset();
  stopPreview();
}

QPointF FieldHands::toTwips(QPointF widget) const {
  const QPointF picture = (widget - QPointF(view_.origin())) / view_.zoom();
  return {kFieldLeft + picture.x() * kTwipsPerPixel, picture.y() * kTwipsPerPixel};
}

QPointF FieldHands::toWidget(QPointF twips) const {
  const QPointF picture((twips.x() - kFieldLeft) / kTwipsPerPixel, twips.y() / kTwipsPerPixel);
  return QPointF(view_.origin()) + picture * view_.zoom();
}

double FieldHands::reachTwips() const {
  return kPickTwipsAtScale1 / view_.zoom();
}

bool FieldHands::press(QMouseEvent* event) {
  if (ModelCall::running()) return false;
  const auto selected = selectedBody(game_);
  if (!selected) return false;
  const QPointF at = event->position();
  const bool aim = event->button() == Qt::RightButton ||
                   (event->button() == Qt::LeftButton && event->modifiers() & Qt::ShiftModifier);
  if (aim) {
    gesture_ = Gesture::kAim;
  } else if (event->button() == Qt::LeftButton) {
    const QPointF t = toTwips(at);
    const World& w = game_.world;
    const double reach = reachTwips();
    const bool onSelected =
        std::hypot(w.PlanetX[*selected] - t.x(), w.PlanetY[*selected] - t.y()) <= reach;
    if (!onSelected) {
      if (!liveBodyNear(game_, t.x(), t.y(), reach)) return false;  // empty field: the pan
      ModelCall call;
      pickAt(game_, t.x(), t.y(), reach);
    }
    gesture_ = Gesture::kMove;
  } else {
    return false;
  }
  pressAt_ = at;
  cursor_ = at;
  canvas_.update();
  return true;
}

bool FieldHands::move(QMouseEvent* event) {
  if (gesture_ == Gesture::kNone) return false;
  cursor_ = event->position();
  canvas_.update();
  return true;
}

bool FieldHands::release(QMouseEvent* event) {
  if (gesture_ == Gesture::kNone) return false;
  cursor_ = event->position();
  const Gesture done = std::exchange(gesture_, Gesture::kNone);
  const auto selected = selectedBody(game_);
  if (selected && !ModelCall::running()) {
    const QPointF t = toTwips(cursor_);
    ModelCall call;
    if (done == Gesture::kMove && cursor_ != pressAt_) {
      dragTo(game_, t.x(), t.y());
    } else if (done == Gesture::kAim) {
      const World& w = game_.world;
      aimAt(game_, (t.x() - w.PlanetX[*selected]) / kArrowTicks,
            (t.y() - w.PlanetY[*selected]) / kArrowTicks);
    }
  }
  canvas_.update();
  return true;
}

void FieldHands::addAtCursor() {
  if (ModelCall::running()) return;
  QPointF at = canvas_.mapFromGlobal(QCursor::pos());
  if (!canvas_.rect().contains(at.toPoint())) at = canvas_.rect().center();
  const QPointF t = toTwips(at);
  ModelCall call;
  addBodyAt(game_, t.x(), t.y());
  canvas_.update();
}

void FieldHands::orbit() {
  if (ModelCall::running()) return;
  ModelCall call;
  orbitSelected(game_);
  canvas_.update();
}

void FieldHands::togglePreviewAll() {
  previewAll_ = !previewAll_;
  dirty_ = true;
}

void FieldHands::previewFewer() {
  previewTicks_ = std::max(kFewestTicks, previewTicks_ / 2);
  dirty_ = true;
}

void FieldHands::previewMore() {
  previewTicks_ = std::min(kMostTicks, previewTicks_ * 2);
  dirty_ = true;
}

const std::vector<QPointF>& FieldHands::pathOf(int body) const {
  if (!paths_ || body < 0 || body >= static_cast<int>(paths_->bodies.size())) return kNoPath;
  return paths_->bodies[body];
}

void FieldHands::refresh() {
  if (!pausedForEditing(game_)) {
    if (paths_) {
      paths_.reset();
      previewDone_ = false;
      canvas_.update();
    }
    return;
  }
  if (dirty_ && !running_) startPreview();
}

void FieldHands::startPreview() {
  stopPreview();
  dirty_ = false;
  previewDone_ = false;
  FutureStart start = futureStart(game_);
  const int selected = selectedBody(game_).value_or(-1);
  const bool all = previewAll_;
  const int ticks = previewTicks_;
  const uint64_t generation = ++generation_;
  running_ = true;
  worker_ =
      std::thread([this, start = std::move(start), selected, all, ticks, generation]() mutable {
        auto paths = std::make_shared<Paths>();
        paths->generation = generation;
        paths->bodies.resize(kMaxBodies);
        auto record = [&](const World& w) {
          for (int i = 0; i <= w.PlanetCount && i < kMaxBodies; ++i) {
            if ((all || i == selected) && w.PlanetOff[i] == 0) {
              paths->bodies[i].emplace_back(w.PlanetX[i], w.PlanetY[i]);
            }
          }
          return !cancel_.load(std::memory_order_relaxed);
        };
        record(start.world);
        runAhead(std::move(start), ticks, record, true);
        if (!cancel_) {
          QMetaObject::invokeMethod(
              this,
              [this, paths] {
                if (paths->generation != generation_) return;
                paths_ = std::make_unique<Paths>(std::move(*paths));
                previewDone_ = true;
                canvas_.update();
              },
              Qt::QueuedConnection);
        }
        running_ = false;
      });
}

void FieldHands::stopPreview() {
  if (!worker_.joinable()) return;
  cancel_ = true;
  worker_.join();
  cancel_ = false;
}

void FieldHands::paint(QPainter& p) const {
  const auto selected = selectedBody(game_);
  if (!selected) return;
  const World& w = game_.world;
  p.setRenderHint(QPainter::Antialiasing, true);
  if (paths_ && previewDone_) {
    // A border that wraps or relaunches a body moves it across the field in one
    // tick: its path breaks there instead of drawing the jump.
    const double jump = game_.W() / 4.0;
    for (size_t i = 0; i < paths_->bodies.size(); ++i) {
      const auto& path = paths_->bodies[i];
      if (path.size() < 2) continue;
      p.setPen(QPen(bodyColour(w, static_cast<int>(i), 110), 1));
      QPolygonF line;
      for (size_t k = 0; k < path.size(); ++k) {
        if (k > 0 && QLineF(path[k - 1], path[k]).length() > jump) {
          p.drawPolyline(line);
          line.clear();
        }
        line << toWidget(path[k]);
      }
      p.drawPolyline(line);
    }
  }
  const QPointF body = toWidget(QPointF(w.PlanetX[*selected], w.PlanetY[*selected]));
  if (gesture_ == Gesture::kMove && cursor_ != pressAt_) {
    p.setPen(QPen(QColor(255, 255, 255, 200), 1, Qt::DashLine));
    p.drawEllipse(cursor_, 6, 6);
  }
  const QPointF tip =
      gesture_ == Gesture::kAim
          ? cursor_
          : toWidget(QPointF(w.PlanetX[*selected] + w.MomentumX[*selected] * kArrowTicks,
                             w.PlanetY[*selected] + w.MomentumY[*selected] * kArrowTicks));
  drawArrow(p, body, tip, QColor(255, 255, 255, 220));
}

}  // namespace velmora::qt
