// The main window Fs7: the settings panel strip on the left, the playing field
// beside it, and the field's overlays (sun, marker, moon, intro texts and
// pictures) standing on the field in the same twips as the bodies.
#pragma once

#include <QScrollArea>
#include <QWidget>
#include <functional>
#include <memory>

#include "qt/form_binder.h"

namespace velmora {
class Game;
}

namespace velmora::qt {

class FieldCanvas;
class HelpWindow;

class MainWindowView : public QWidget {
  Q_OBJECT
 public:
  MainWindowView(Game& game, std::function<void()> onClose);
  ~MainWindowView() override;

  FormBinder& binder() { return *binder_; }
  FieldCanvas& canvas() { return *canvas_; }
  QWidget& panel() { return *panel_; }
  // The help window (F1); made when first shown.
  void showHelp();
  HelpWindow* helpWindow() const { return help_; }
  // Shrinks the window (and so the field) to the screen it opens on.
  void fitScreen();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  Placement placementFor(const Control& c) const;
  void showForm(Prop prop);
  void orderTabsByPlace();
  int stripWidth(int windowHeight) const;
  // Sizes the window so that the field has `field` logical pixels.
  void fitField(QSize field);

  Game& game_;
  std::function<void()> onClose_;
  QScrollArea* strip_;
  QWidget* panel_;
  FieldCanvas* canvas_;
  HelpWindow* help_ = nullptr;
  std::unique_ptr<FormBinder> binder_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace velmora::qt
