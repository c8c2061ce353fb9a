// VELMORA_TEST_THREADS=k runs every test with the gravity pass shared by k threads
// in chunks of 8 rows, however few its rows, so that the golden hashes show any bit
// the split would change.
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
