// The saved-system file, NAME.velmora: UTF-8 JSON with a format name and a
// version, numbers in the shortest text that reads back to the same bits, the
// field's picture as a base64 PNG. docs/system-file.md describes every field.
#pragma once

#include <string>
#include <variant>

#include "app/system_snapshot.h"

namespace velmora {

inline constexpr const char* kSystemFormatName = "velmora-system";
// Version N reads every earlier version, each newer field taking its default.
inline constexpr int kSystemFormatVersion = 2;

// The file's text for a snapshot. Empty when the picture cannot be encoded.
std::string encodeSystem(const SystemSnapshot& s);

// The snapshot in a file's text, or the first thing wrong with it as a phrase
// ("it is not JSON (at byte 12)", "PlanetX(3) is not a number"). Only the form
// is checked here: the game's own ranges are checkSnapshot's.
std::variant<SystemSnapshot, std::string> decodeSystem(const std::string& text);

}  // namespace velmora
