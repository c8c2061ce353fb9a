#include "qt/web_page.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextDocument>
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

QString linkText(const std::string& url) {
  const QUrl link(QString::fromStdString(url));
  if (!link.isLocalFile()) return QString::fromStdString(url);
  QFile page(link.toLocalFile());
  if (page.open(QIODevice::ReadOnly)) {
    QTextDocument document;
    document.setHtml(QString::fromUtf8(page.readAll()));
    const QString title = document.metaInformation(QTextDocument::DocumentTitle).simplified();
    if (!title.isEmpty()) return title;
  }
  return link.fileName();
}

std::string webPageUrl(const std::string& fallback) {
  const QDir bin(QCoreApplication::applicationDirPath());
  return webPageUrlFrom(bin.filePath(QStringLiteral(VELMORA_DATA_FROM_BIN "/") + kPage),
                        QStringLiteral(VELMORA_SOURCE_DATA_DIR "/") + kPage, fallback);
}

}  // namespace velmora::qt
