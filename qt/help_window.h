// A short help: the keys, and what the panel's main choices mean.
#pragma once

#include <QDialog>

#include "qt/shortcuts.h"

namespace velmora::qt {

class HelpWindow : public QDialog {
  Q_OBJECT
 public:
  explicit HelpWindow(QWidget* parent);
  // The text shown, as HTML.
  static QString text();
  // Every key of the main window, as the text lists them (and the man page).
  static QList<ShortcutEntry> keys();
};

}  // namespace velmora::qt
