#pragma once
// The field's picture as PNG bytes, written straight through libpng. Qt's writer
// lets libpng try all five row filters on every row, which is most of a save's time;
// a picture of trails on black compresses better with none at all.
#include <cstdint>
#include <optional>
#include <string>

namespace velmora {

// pixels: width * height 0xffRRGGBB words, row after row. Written as 8-bit RGB.
// Empty when libpng fails (it reports no reason worth showing a player).
std::optional<std::string> encodePng(const uint32_t* pixels, int width, int height);

}  // namespace velmora
