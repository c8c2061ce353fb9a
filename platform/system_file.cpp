#include "platform/system_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QString>
#include <new>
#include <variant>

#include "app/system_snapshot.h"
#include "platform/system_format.h"
#include "state/game.h"

namespace velmora {

namespace {

std::string cannot(const char* what, const std::string& path, const std::string& why) {
  return std::string("Cannot ") + what + " \"" + path + "\": " + why + ".";
}

std::string lower(QString errorText) {
  if (!errorText.isEmpty()) errorText[0] = errorText[0].toLower();
  return errorText.toStdString();
}

// Reads the file into `bytes`; why it cannot, when it cannot.
std::optional<std::string> readSmallFile(const std::string& path, std::string& bytes) {
  const QString name = QString::fromStdString(path);
  const QFileInfo info(name);
  if (!info.exists()) return "there is no such file";
  if (info.isDir()) return "it is a folder, not a file";
  if (info.size() > kMaxSystemFileBytes) {
    return "it is " + std::to_string(info.size()) + " bytes, more than a system takes (" +
           std::to_string(kMaxSystemFileBytes) + " at most)";
  }
  QFile file(name);
  if (!file.open(QIODevice::ReadOnly))
    return "it cannot be read (" + lower(file.errorString()) + ")";
  // A file that grew since it was measured is read no further than the limit.
  const QByteArray data = file.read(kMaxSystemFileBytes + 1);
  if (data.size() > kMaxSystemFileBytes) return std::string("it is more than a system takes");
  bytes = data.toStdString();
  return std::nullopt;
}

}  // namespace

std::optional<std::string> saveSystemFile(const Game& g, const std::string& path) {
  if (!hasSystem(g)) return cannot("save", path, "there is no system yet; press Go first");
  const QFileInfo target(QString::fromStdString(path));
  // A save file replaces what it names by renaming: never a device or a pipe.
  if (target.exists() && !target.isFile() && !target.isDir()) {
    return cannot("save", path, "it is not a regular file");
  }
  const std::string text = encodeSystem(captureSystem(g));
  if (text.empty()) return cannot("save", path, "the picture cannot be encoded");
  QSaveFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::WriteOnly)) return cannot("save", path, lower(file.errorString()));
  if (file.write(text.data(), static_cast<qint64>(text.size())) !=
      static_cast<qint64>(text.size())) {
    const std::string why = lower(file.errorString());
    file.cancelWriting();
    return cannot("save", path, why);
  }
  if (!file.commit()) return cannot("save", path, lower(file.errorString()));
  return std::nullopt;
}

std::optional<std::string> openSystemFile(Game& g, const std::string& path) {
  // Decoding and opening refuse for want of memory themselves; reading may run out too.
  try {
    std::string bytes;
    if (auto why = readSmallFile(path, bytes)) return cannot("open", path, *why);
    auto decoded = decodeSystem(bytes);
    if (const auto* why = std::get_if<std::string>(&decoded)) return cannot("open", path, *why);
    if (auto why = openSystem(g, std::get<SystemSnapshot>(decoded)))
      return cannot("open", path, *why);
    return std::nullopt;
  } catch (const std::bad_alloc&) {
    return cannot("open", path, "there is not enough memory to read the file");
  }
}

bool saveSystemTelling(Game& g, const std::string& path) {
  const auto message = saveSystemFile(g, path);
  if (message) g.host.messageBox(kSaveSystemTitle, *message);
  return !message;
}

bool openSystemTelling(Game& g, const std::string& path) {
  const auto message = openSystemFile(g, path);
  if (message) g.host.messageBox(kOpenSystemTitle, *message);
  return !message;
}

}  // namespace velmora
