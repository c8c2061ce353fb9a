// The bit-for-bit suites (the golden hashes, the kernel against the engine's own
// pair-by-pair path, the literal reference, our power, the thread pool) run once for
// each thread count of the gravity pass: 1, 2, 3, 4 and 8, the pass split in
// chunks of 8 rows however few its rows, so that any bit a split would change
// shows. VELMORA_TEST_THREADS=N runs them on N threads alone.
//
// Every test in this binary runs on every count: a suite added or renamed here can
// not drop out of the loop, as a filter string would let it.
#include <gtest/gtest.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "sim/lane_pool.h"

namespace {

// The counts asked for: VELMORA_TEST_THREADS alone where it holds a count the pool
// takes, else all of them.
std::vector<int> threadCounts() {
  if (const char* env = std::getenv("VELMORA_TEST_THREADS")) {
    const std::string_view text(env);
    int threads = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), threads);
    if (error != std::errc() || end != text.data() + text.size() || threads < 1 ||
        threads > velmora::sim::LanePool::kMaxThreads) {
      std::fprintf(stderr, "VELMORA_TEST_THREADS=%s: not a thread count from 1 to %d\n", env,
                   velmora::sim::LanePool::kMaxThreads);
      std::exit(2);
    }
    return {threads};
  }
  return {1, 2, 3, 4, 8};
}

// Before each round of the tests, the pool of the next count.
class ThreadCountRounds : public ::testing::EmptyTestEventListener {
 public:
  explicit ThreadCountRounds(std::vector<int> counts) : counts_(std::move(counts)) {}

  void OnTestIterationStart(const ::testing::UnitTest&, int round) override {
    const int threads = counts_[static_cast<size_t>(round) % counts_.size()];
    velmora::sim::LanePool::shared().resize(threads, 1, 8);
    std::printf("[ threads  ] the gravity pass on %d thread%s\n", threads, threads == 1 ? "" : "s");
    std::fflush(stdout);
  }

 private:
  std::vector<int> counts_;
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  std::vector<int> counts = threadCounts();
  GTEST_FLAG_SET(repeat, static_cast<int>(counts.size()));
  ::testing::UnitTest::GetInstance()->listeners().Append(new ThreadCountRounds(std::move(counts)));
  return RUN_ALL_TESTS();
}
