// A short help: the keys, and what the panel's main choices mean.
#pragma once

#include <QDialog>

namespace velmora::qt {

class HelpWindow : public QDialog {
  Q_OBJECT
 public:
  explicit HelpWindow(QWidget* parent);
  // The text shown, as HTML.
  static QString text();
};

}  // namespace velmora::qt
