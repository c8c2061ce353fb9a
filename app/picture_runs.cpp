#include "app/picture_runs.h"

#include <algorithm>

namespace velmora {

namespace {

constexpr uint32_t kOpaque = 0xFF000000u;
constexpr uint32_t kLongestRepeat = 0x00FFFFFFu;

bool opaque(uint32_t pixel) {
  return (pixel & kOpaque) == kOpaque;
}

}  // namespace

PackedPicture packPicture(const std::vector<uint32_t>& pixels) {
  PackedPicture packed;
  packed.pixelCount = pixels.size();
  if (!std::all_of(pixels.begin(), pixels.end(), opaque)) {
    packed.verbatim = true;
    packed.words = pixels;
    return packed;
  }
  std::vector<uint32_t>& out = packed.words;
  const size_t n = pixels.size();
  for (size_t i = 0; i < n;) {
    const uint32_t pixel = pixels[i];
    out.push_back(pixel);
    size_t j = i + 1;
    while (j < n && pixels[j] == pixel && j - i - 1 < kLongestRepeat) ++j;
    if (j - i > 1) out.push_back(static_cast<uint32_t>(j - i - 1));
    i = j;
  }
  out.shrink_to_fit();
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
