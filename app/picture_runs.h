// A field's picture packed for keeping in memory: mostly black with trails, so
// runs of one colour are common. Packing and unpacking take a millisecond or two
// for a full field, far less than a tick's dots take to redraw it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace velmora {

struct PackedPicture {
  // Each opaque pixel (0xFFRRGGBB) stands for itself; a word whose top byte is not
  // 0xFF repeats the pixel before it that many more times. A picture holding any
  // pixel that is not opaque is kept as it is, word for word.
  std::vector<uint32_t> words;
  bool verbatim = false;
  size_t pixelCount = 0;

  size_t bytes() const { return words.capacity() * sizeof(uint32_t); }
};

// `room` is scratch kept by the caller from one picture to the next: a fresh one
// would be a few thousand pages for the system to hand over each time.
PackedPicture packPicture(const std::vector<uint32_t>& pixels, std::vector<uint32_t>& room);
std::vector<uint32_t> unpackPicture(const PackedPicture& packed);

}  // namespace velmora
