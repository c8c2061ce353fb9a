#include "platform/system_file.h"

#include <new>
#include <variant>

#include "app/system_snapshot.h"
#include "app/timeline.h"
#include "platform/file_name.h"
#include "platform/player_file.h"
#include "platform/system_format.h"
#include "state/game.h"

namespace velmora {

namespace {

std::string cannot(const char* what, const std::string& path, const std::string& why) {
  return std::string("Cannot ") + what + " \"" + shownFileName(path) + "\": " + why + ".";
}

// Reads the file into `bytes`; why it cannot, when it cannot.
std::optional<std::string> readSmallFile(const std::string& path, std::string& bytes) {
  RegularFile file(path);
  if (file.refusal()) return file.refusal();
  if (file.size() > kMaxSystemFileBytes) {
    return "it is " + std::to_string(file.size()) + " bytes, more than a system takes (" +
           std::to_string(kMaxSystemFileBytes) + " at most)";
  }
  // A file that grew since it was measured is read no further than the limit.
  std::optional<std::string> data = file.readAtMost(kMaxSystemFileBytes + 1);
  if (!data) return file.refusal();
  if (static_cast<long long>(data->size()) > kMaxSystemFileBytes) {
    return std::string("it is more than a system takes");
  }
  bytes = std::move(*data);
  return std::nullopt;
}

}  // namespace

std::optional<std::string> saveSystemFile(const Game& g, const std::string& path) {
  if (!hasSystem(g)) return cannot("save", path, "there is no system yet; press Go first");
  const std::string text = encodeSystem(captureSystem(g));
  if (text.empty()) return cannot("save", path, "the picture cannot be encoded");
  if (auto why = writeWholeFile(path, text)) return cannot("save", path, *why);
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
    g.timeline->restart(g);  // an opened system's moments start where it was saved
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
