#include "qt/web_page.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace velmora::qt {

namespace {
const char kPage[] = "how-solar-system-formed.htm";
}

std::string webPageUrlFrom(const QString& installedPage, const QString& sourcePage,
                           const std::string& fallback) {
  for (const QString& page : {installedPage, sourcePage}) {
    if (!page.isEmpty() && QFileInfo(page).isFile()) {
      return QUrl::fromLocalFile(QFileInfo(page).absoluteFilePath()).toString().toStdString();
    }
  }
  return fallback;
}

std::string webPageUrl(const std::string& fallback) {
  const QDir bin(QCoreApplication::applicationDirPath());
  return webPageUrlFrom(bin.filePath(QStringLiteral(VELMORA_DATA_FROM_BIN "/") + kPage),
                        QStringLiteral(VELMORA_SOURCE_DATA_DIR "/") + kPage, fallback);
}

}  // namespace velmora::qt
