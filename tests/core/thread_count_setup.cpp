// VELMORA_TEST_THREADS=k runs every core test with the gravity pass shared by k
// threads in chunks of 8 rows, however few its rows (the ThreadSanitizer run of
// scripts/test uses it). The golden hashes loop over the counts themselves
// (tests/replay).
#include <charconv>
#include <cstdlib>
#include <string_view>

#include "sim/lane_pool.h"

namespace {

const bool kThreadCountSet = [] {
  const char* env = std::getenv("VELMORA_TEST_THREADS");
  if (env == nullptr) return false;
  const std::string_view text(env);
  int threads = 0;
  std::from_chars(text.data(), text.data() + text.size(), threads);
  velmora::sim::LanePool::shared().resize(threads, 1, 8);
  return true;
}();

}  // namespace
