// A small fixed pool of worker threads for the gravity pass's lanes. The pass splits
// its rows into blocks, one per thread; every row still sums its own body in the
// literal order, so the split changes no bit. Threads start once, on first use, and
// wait at a barrier between passes.
//
// How many: VELMORA_THREADS in the environment (1 turns the pool off), else the
// build's default (the CMake option VELMORA_THREADS), else one per processor, at
// most kMaxThreads. A pass uses fewer threads where its rows are too few to pay
// for waking them (minRowsPerThread).
#pragma once

#include <barrier>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace velmora::sim {

class LanePool {
 public:
  static constexpr int kMaxThreads = 8;
  // Below this many rows a thread costs more than it saves (measured with
  // bench/velmora_bench: the pass over 128 bodies takes about 20 microseconds on one
  // thread, the barrier's round trip several).
  static constexpr int kDefaultMinRowsPerThread = 160;

  // The pool the game's passes share.
  static LanePool& shared();

  explicit LanePool(int threads, int minRowsPerThread = kDefaultMinRowsPerThread);
  ~LanePool();
  LanePool(const LanePool&) = delete;
  LanePool& operator=(const LanePool&) = delete;

  int threads() const { return threads_; }
  int minRowsPerThread() const { return minRowsPerThread_; }
  // Restarts the pool with another size (tests and the benchmark compare sizes).
  void resize(int threads, int minRowsPerThread = kDefaultMinRowsPerThread);

  // How many blocks a pass over `rows` rows is split into: 1 up to threads().
  int blocksFor(int rows) const;
  // Runs work(b) for every block b of 0..blocks-1, block 0 on the calling thread,
  // and returns when all are done. blocks must not exceed threads().
  void run(int blocks, const std::function<void(int)>& work);

 private:
  void start();
  void stop();
  void serve(int worker);

  int threads_ = 1;
  int minRowsPerThread_ = kDefaultMinRowsPerThread;
  std::unique_ptr<std::barrier<>> barrier_;
  std::vector<std::thread> workers_;
  // Written by run() before the barrier that starts a pass, read after it.
  const std::function<void(int)>* work_ = nullptr;
  int blocks_ = 0;
  bool stopping_ = false;
};

// The thread count asked for by VELMORA_THREADS or the build; 0 means one per
// processor. Out-of-range or unreadable values fall back to the build's.
int requestedThreads();

}  // namespace velmora::sim
