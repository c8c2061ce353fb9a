// What changed in a field's picture from one moment to a later one: the pixels that
// differ, each as the XOR of its two values. Between keyframes a few tens of ticks
// apart only the dots drawn meanwhile differ, a few per cent of the field, so the
// change keeps far less than the picture, and taking or applying it is one pass.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace velmora {

struct PictureChange {
  // Blocks of: the pixels left as they were, then how many changed, then the XOR
  // of each of those.
  std::vector<uint32_t> words;
  size_t pixelCount = 0;

  size_t bytes() const { return words.capacity() * sizeof(uint32_t); }
};

// The change from `was` to `now` (pictures of one size), or nothing when more than
// `mostWords` words would keep it: then the whole picture is the better keep.
// `room` is scratch the caller keeps from one change to the next.
std::optional<PictureChange> changeBetween(const std::vector<uint32_t>& was,
                                           const std::vector<uint32_t>& now, size_t mostWords,
                                           std::vector<uint32_t>& room);

// Turns a picture into the later one (or, the XOR being its own inverse, back).
void applyChange(std::vector<uint32_t>& pixels, const PictureChange& change);

// The change that `first` then `then` make together.
PictureChange joinChanges(const PictureChange& first, const PictureChange& then);

}  // namespace velmora
