// The main window Fs7: the settings panel strip on the left, the playing field
// beside it, and the field's overlays (sun, marker, moon, intro texts and
// pictures) standing on the field in the same twips as the bodies.
#pragma once

#include <QLabel>
#include <QScrollArea>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "app/control_names.h"
#include "qt/form_binder.h"

namespace velmora {
class Game;
}

namespace velmora::qt {

class FieldCanvas;
class HelpWindow;
class TimelineBar;

class MainWindowView : public QWidget {
  Q_OBJECT
 public:
  MainWindowView(Game& game, std::function<void()> onClose);
  ~MainWindowView() override;

  FormBinder& binder() { return *binder_; }
  FieldCanvas& canvas() { return *canvas_; }
  TimelineBar& timeline() { return *timeline_; }
  QWidget& panel() { return *panel_; }
  // The help window (F1); made when first shown.
  void showHelp();
  HelpWindow* helpWindow() const { return help_; }
  // Shrinks the window (and so the field) to the screen it opens on.
  void fitScreen();
  // The panel strip, which scrolls on a screen too low for the panel.
  QScrollArea& strip() { return *strip_; }
  // The caption drawn for a bare field, or null.
  QLabel* captionOf(const Control& field) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  Placement placementFor(const Control& c) const;
  void showForm(Prop prop);
  void orderTabsByPlace();
  int stripWidth(int windowHeight) const;
  // Sizes the window so that the field has `field` logical pixels.
  void fitField(QSize field);
  QRect reshapePanel(QWidget& w, const Control& c, QRect rect) const;
  QRect reshapeOnField(QWidget& w, const Control& c, QRect rect) const;
  void makeCaptions();
  void showCaptions();
  void showEditor();

  struct Caption {
    const Control* field;
    const Control* gameCaption;
    QLabel* label;
  };

  Game& game_;
  // What a screen reader calls each control.
  std::vector<ControlName> names_;
  std::function<void()> onClose_;
  QScrollArea* strip_;
  QWidget* panel_;
  FieldCanvas* canvas_;
  TimelineBar* timeline_;
  HelpWindow* help_ = nullptr;
  std::unique_ptr<FormBinder> binder_;
  std::vector<Caption> captions_;
  // Panel controls from bandTop_ down to bandEnd_ stand one caption row lower.
  int bandTop_ = 0;
  int bandEnd_ = 0;
  int editorFieldWidth_ = 0;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace velmora::qt
