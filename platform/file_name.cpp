#include "platform/file_name.h"

#include <QByteArray>
#include <QFile>
#include <QList>

namespace velmora {

std::optional<QString> qtFileName(const std::string& path) {
  const QByteArray bytes = QByteArray::fromStdString(path);
  const QString name = QFile::decodeName(bytes);
  if (bytes.contains('\0') || QFile::encodeName(name) != bytes) return std::nullopt;
  return name;
}

std::string shownFileName(const std::string& path) {
  // Decoding turns every byte that is no character into U+FFFD.
  QList<uint> characters = QFile::decodeName(QByteArray::fromStdString(path)).toUcs4();
  for (uint& c : characters) {
    if (c < 0x20 || c == 0x7f) c = 0xfffd;  // a line break would split the message
  }
  if (characters.size() > kShownNameLength) {
    const qsizetype tail = kShownNameLength - kShownNameHead - 1;
    characters = characters.first(kShownNameHead) + QList<uint>{0x2026} + characters.last(tail);
  }
  return QString::fromUcs4(reinterpret_cast<const char32_t*>(characters.constData()),
                           characters.size())
      .toStdString();
}

}  // namespace velmora
