// A file as the player names it. The name is kept as the bytes the system takes,
// which need not be UTF-8 (an old disk's Latin-1 "café"): Qt 6 reads every name
// as UTF-8, so such a name reaches the file only through the system's own calls.
// A message shows the name readable and cut to a length that fits a message box.
#pragma once

#include <QString>
#include <optional>
#include <string>

namespace velmora {

// At most this many characters of a name appear in a message; a longer name keeps
// its first kShownNameHead characters and its end (where the extension is), with
// "…" between them.
inline constexpr int kShownNameLength = 100;
inline constexpr int kShownNameHead = 40;

// The name as Qt spells it; nothing when Qt's spelling would name another file
// (bytes that are not UTF-8, or a zero byte).
std::optional<QString> qtFileName(const std::string& path);

// The name for a message, as UTF-8: bytes that are no character and control
// characters become U+FFFD, and a name longer than kShownNameLength is cut in
// the middle.
std::string shownFileName(const std::string& path);

}  // namespace velmora
