#pragma once
// The field's picture as PNG bytes, written and read straight through libpng. Qt's
// writer lets libpng try all five row filters on every row, which is most of a save's
// time; a picture of trails on black compresses better with none at all. Qt's reader
// refuses pictures beyond its allocation limit, which the largest field exceeds; this
// reader reads the header first, so the caller decides on the size before any
// pixel is allocated.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// pixels: width * height 0xffRRGGBB words, row after row. Written as 8-bit RGB.
// Empty when libpng fails (it reports no reason worth showing a player).
std::optional<std::string> encodePng(const uint32_t* pixels, int width, int height);

struct PngPicture {
  enum class Outcome {
    kNotPng,    // no PNG signature and header
    kDamaged,   // a PNG whose data libpng cannot read to the end
    kDeclined,  // the header's size was not wanted: nothing was decoded
    kDecoded,
  };
  Outcome outcome = Outcome::kNotPng;
  int width = 0;  // from the header, once it was read
  int height = 0;
  std::vector<uint32_t> pixels;  // width * height 0xffRRGGBB words when decoded
};

// Reads any PNG (any bit depth and colour type, interlaced or not; an alpha channel
// is dropped). `wanted` sees the header's size first; only when it answers true is
// the picture decoded.
PngPicture decodePng(std::string_view png, const std::function<bool(int, int)>& wanted);

}  // namespace velmora
