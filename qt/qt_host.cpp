#include "qt/qt_host.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

namespace velmora::qt {

bool QtHost::openUrl(const std::string& url) {
  return QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

void QtHost::messageBox(const std::string& title, const std::string& text) {
  QWidget* parent = dialogParent_ ? dialogParent_() : nullptr;
  QMessageBox::critical(parent, QString::fromStdString(title), QString::fromStdString(text),
                        QMessageBox::Ok);
}

void QtHost::endProgram() {
  if (end_) end_();
}

}  // namespace velmora::qt
