#include "sim/lane_pool.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdlib>
#include <string_view>

#ifndef VELMORA_DEFAULT_THREADS
#define VELMORA_DEFAULT_THREADS 0
#endif

namespace velmora::sim {

namespace {

// Waits until `value` holds something other than `old`: spinning first, for about
// a quarter of a millisecond, then asleep.
template <typename T>
T awaitChange(const std::atomic<T>& value, T old) {
  using Clock = std::chrono::steady_clock;
  const auto until = Clock::now() + std::chrono::microseconds(250);
  for (int spin = 1;; ++spin) {
    const T now = value.load(std::memory_order_acquire);
    if (now != old) return now;
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
    if (spin % 64 == 0 && Clock::now() > until) break;
  }
  value.wait(old, std::memory_order_acquire);
  return value.load(std::memory_order_acquire);
}

constexpr uint64_t claimOf(uint32_t pass, int chunks, int next) {
  return uint64_t{pass} << 32 | uint64_t(chunks) << 16 | uint64_t(next);
}

}  // namespace

int requestedThreads() {
  int threads = VELMORA_DEFAULT_THREADS;
  if (const char* env = std::getenv("VELMORA_THREADS")) {
    const std::string_view text(env);
    int asked = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), asked);
    if (error == std::errc() && end == text.data() + text.size() && asked >= 0 &&
        asked <= LanePool::kMaxThreads) {
      threads = asked;
    }
  }
  if (threads == 0) threads = static_cast<int>(std::thread::hardware_concurrency());
  return std::clamp(threads, 1, LanePool::kMaxThreads);
}

LanePool& LanePool::shared() {
  static LanePool pool(requestedThreads());
  return pool;
}

LanePool& LanePool::forThisThread() {
  LanePool* own = Using::current();
  return own != nullptr ? *own : shared();
}

LanePool::LanePool(int threads, int minRowsPerThread, int chunkRows) {
  resize(threads, minRowsPerThread, chunkRows);
}

LanePool::~LanePool() {
  stop();
}

void LanePool::resize(int threads, int minRowsPerThread, int chunkRows) {
  stop();
  threads_ = std::clamp(threads, 1, kMaxThreads);
  minRowsPerThread_ = std::max(minRowsPerThread, 1);
  chunkRows_ = std::max(chunkRows, 8);
  start();
}

bool LanePool::worthSharing(int rows) const {
  return !workers_.empty() && rows >= 2 * minRowsPerThread_ && !Alone::active();
}

void LanePool::start() {
  if (threads_ == 1) return;
  stopping_ = false;
  for (int k = 1; k < threads_; ++k) workers_.emplace_back(&LanePool::serve, this, pass_);
}

void LanePool::stop() {
  if (workers_.empty()) return;
  stopping_ = true;
  started_.fetch_add(1, std::memory_order_release);
  started_.notify_all();
  for (std::thread& t : workers_) t.join();
  workers_.clear();
  started_.store(pass_, std::memory_order_relaxed);
}

void LanePool::run(int chunks, bool share, const std::function<void(int)>& work) {
  if (!share || chunks <= 1 || workers_.empty()) {
    for (int c = 0; c < chunks; ++c) work(c);
    return;
  }
  work_ = &work;
  done_.store(0, std::memory_order_relaxed);
  const uint32_t pass = ++pass_;
  claim_.store(claimOf(pass, chunks, 0), std::memory_order_release);
  started_.store(pass, std::memory_order_release);
  started_.notify_all();
  takeChunks(pass);
  for (int done = done_.load(std::memory_order_acquire); done != chunks;) {
    done = awaitChange(done_, done);
  }
}

void LanePool::takeChunks(uint32_t pass) {
  uint64_t claim = claim_.load(std::memory_order_acquire);
  for (;;) {
    if (claim >> 32 != pass) return;  // a pass already over
    const int chunks = static_cast<int>(claim >> 16 & 0xffff);
    const int next = static_cast<int>(claim & 0xffff);
    if (next >= chunks) return;
    if (!claim_.compare_exchange_weak(claim, claim + 1, std::memory_order_acq_rel,
                                      std::memory_order_acquire)) {
      continue;
    }
    (*work_)(next);
    if (done_.fetch_add(1, std::memory_order_acq_rel) + 1 == chunks) done_.notify_one();
    claim = claim_.load(std::memory_order_acquire);
  }
}

void LanePool::serve(uint32_t pass) {
  for (;;) {
    pass = awaitChange(started_, pass);
    if (stopping_) return;
    takeChunks(pass);
  }
}

}  // namespace velmora::sim
