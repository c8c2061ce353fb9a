#include "app/picture_change.h"

#include <algorithm>
#include <cstdint>

namespace velmora {

namespace {

// Encodes the XOR of `a` and `b`, pixel for pixel, answering false as soon as it
// would take more than `mostWords` words.
bool encodeDifference(const uint32_t* a, const uint32_t* b, size_t n, size_t mostWords,
                      std::vector<uint32_t>& words) {
  words.clear();
  for (size_t i = 0; i < n;) {
    const size_t unchangedFrom = i;
    while (i < n && a[i] == b[i]) ++i;
    if (i == n) break;
    const size_t changedFrom = i;
    while (i < n && a[i] != b[i]) ++i;
    const size_t changed = i - changedFrom;
    if (words.size() + 2 + changed > mostWords) return false;
    words.push_back(static_cast<uint32_t>(changedFrom - unchangedFrom));
    words.push_back(static_cast<uint32_t>(changed));
    for (size_t k = changedFrom; k < i; ++k) words.push_back(a[k] ^ b[k]);
  }
  return true;
}

}  // namespace

std::optional<PictureChange> changeBetween(const std::vector<uint32_t>& was,
                                           const std::vector<uint32_t>& now, size_t mostWords,
                                           std::vector<uint32_t>& room) {
  if (was.size() != now.size()) return std::nullopt;
  // A picture has fewer than 2^32 pixels: the fields are at most a few million.
  PictureChange change;
  change.pixelCount = now.size();
  if (!encodeDifference(was.data(), now.data(), now.size(), mostWords, room)) return std::nullopt;
  change.words.assign(room.begin(), room.end());
  return change;
}

void applyChange(std::vector<uint32_t>& pixels, const PictureChange& change) {
  const std::vector<uint32_t>& w = change.words;
  size_t at = 0;
  for (size_t i = 0; i + 1 < w.size();) {
    at += w[i];
    const size_t changed = w[i + 1];
    i += 2;
    for (size_t k = 0; k < changed; ++k) pixels[at + k] ^= w[i + k];
    at += changed;
    i += changed;
  }
}

PictureChange joinChanges(const PictureChange& first, const PictureChange& then) {
  // Both applied to a black picture give the joined XOR; its difference from black
  // is the joined change.
  std::vector<uint32_t> zero(first.pixelCount, 0);
  std::vector<uint32_t> joined(first.pixelCount, 0);
  applyChange(joined, first);
  applyChange(joined, then);
  PictureChange change;
  change.pixelCount = first.pixelCount;
  encodeDifference(joined.data(), zero.data(), joined.size(), SIZE_MAX, change.words);
  change.words.shrink_to_fit();
  return change;
}

}  // namespace velmora
