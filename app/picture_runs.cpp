#include "app/picture_runs.h"

#include <algorithm>
#include <cstddef>

namespace velmora {

namespace {

constexpr uint32_t kOpaque = 0xFF000000u;
constexpr uint32_t kLongestRepeat = 0x00FFFFFFu;

bool opaque(uint32_t pixel) {
  return (pixel & kOpaque) == kOpaque;
}

}  // namespace

PackedPicture packPicture(const std::vector<uint32_t>& pixels, std::vector<uint32_t>& room) {
  PackedPicture packed;
  packed.pixelCount = pixels.size();
  // Never longer than the picture: a repeat word stands for at least one pixel.
  const size_t n = pixels.size();
  if (room.size() < n) room.resize(n);
  uint32_t* const out = room.data();
  size_t length = 0;
  for (size_t i = 0; i < n;) {
    const uint32_t pixel = pixels[i];
    if (!opaque(pixel)) {
      packed.verbatim = true;
      packed.words = pixels;
      return packed;
    }
    out[length++] = pixel;
    size_t j = i + 1;
    while (j < n && pixels[j] == pixel && j - i - 1 < kLongestRepeat) ++j;
    if (j - i > 1) out[length++] = static_cast<uint32_t>(j - i - 1);
    i = j;
  }
  packed.words.assign(out, out + length);
  return packed;
}

std::vector<uint32_t> unpackPicture(const PackedPicture& packed) {
  if (packed.verbatim) return packed.words;
  std::vector<uint32_t> pixels;
  pixels.reserve(packed.pixelCount);
  for (const uint32_t word : packed.words) {
    if (opaque(word)) {
      pixels.push_back(word);
    } else {
      const uint32_t repeated = pixels.back();
      pixels.insert(pixels.end(), word, repeated);
    }
  }
  return pixels;
}

}  // namespace velmora
