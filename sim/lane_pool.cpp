#include "sim/lane_pool.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <string_view>

#ifndef VELMORA_DEFAULT_THREADS
#define VELMORA_DEFAULT_THREADS 0
#endif

namespace velmora::sim {

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

LanePool::LanePool(int threads, int minRowsPerThread) {
  resize(threads, minRowsPerThread);
}

LanePool::~LanePool() {
  stop();
}

void LanePool::resize(int threads, int minRowsPerThread) {
  stop();
  threads_ = std::clamp(threads, 1, kMaxThreads);
  minRowsPerThread_ = std::max(minRowsPerThread, 1);
  start();
}

int LanePool::blocksFor(int rows) const {
  return std::clamp(rows / minRowsPerThread_, 1, threads_);
}

void LanePool::start() {
  if (threads_ == 1) return;
  stopping_ = false;
  barrier_ = std::make_unique<std::barrier<>>(threads_);
  for (int k = 1; k < threads_; ++k) workers_.emplace_back(&LanePool::serve, this, k);
}

void LanePool::stop() {
  if (workers_.empty()) return;
  stopping_ = true;
  barrier_->arrive_and_wait();  // the workers see stopping_ and leave
  for (std::thread& t : workers_) t.join();
  workers_.clear();
  barrier_.reset();
}

void LanePool::run(int blocks, const std::function<void(int)>& work) {
  if (blocks <= 1 || workers_.empty()) {
    for (int b = 0; b < blocks; ++b) work(b);
    return;
  }
  work_ = &work;
  blocks_ = std::min(blocks, threads_);
  barrier_->arrive_and_wait();  // start
  work(0);
  barrier_->arrive_and_wait();  // every block done
}

void LanePool::serve(int worker) {
  for (;;) {
    barrier_->arrive_and_wait();
    if (stopping_) return;
    if (worker < blocks_) (*work_)(worker);
    barrier_->arrive_and_wait();
  }
}

}  // namespace velmora::sim
