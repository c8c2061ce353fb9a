// A small fixed pool of worker threads for the gravity pass's lanes. The pass cuts
// its rows into chunks and every thread takes chunks as it comes free; each row
// still sums its own body in the literal order, so no split changes a bit (the map
// in pull_rows.h shows which stages of the pass share their work).
//
// The caller never waits for a thread that has not woken: it waits only for the
// chunks taken, so a worker the system scheduler holds back costs nothing but its
// share. Between passes the workers spin for a moment, then sleep on an atomic
// wait: waking a sleeping thread takes tens of microseconds on a virtual machine,
// a tenth of a pass, so ticks that run back to back find them awake.
//
// How many threads: VELMORA_THREADS in the environment (1 turns the pool off),
// else the build's default (the CMake option VELMORA_THREADS), else one per
// processor, at most kMaxThreads.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

namespace velmora::sim {

class LanePool {
 public:
  static constexpr int kMaxThreads = 8;
  // Below this many rows a thread costs more than it saves (the break-even table
  // of bench/velmora_bench).
  static constexpr int kDefaultMinRowsPerThread = 160;
  // Rows a chunk of the pass holds: 128 keeps its seven lane tables (1 KiB each) in
  // the first-level cache; measured against 64, 256 and 512 on two threads.
  static constexpr int kDefaultChunkRows = 128;

  // The pool the game's passes share.
  static LanePool& shared();
  // The pool the passes of the calling thread run on: the one a `Using` on this
  // thread names, else the shared one.
  static LanePool& forThisThread();

  explicit LanePool(int threads, int minRowsPerThread = kDefaultMinRowsPerThread,
                    int chunkRows = kDefaultChunkRows);
  ~LanePool();
  LanePool(const LanePool&) = delete;
  LanePool& operator=(const LanePool&) = delete;

  int threads() const { return threads_; }
  int minRowsPerThread() const { return minRowsPerThread_; }
  int chunkRows() const { return chunkRows_; }
  // Restarts the pool with another size (tests and the benchmark compare sizes).
  void resize(int threads, int minRowsPerThread = kDefaultMinRowsPerThread,
              int chunkRows = kDefaultChunkRows);

  // Whether a pass over `rows` rows is worth more threads than the caller's.
  bool worthSharing(int rows) const;

  // While one lives, the passes of its thread run on that thread alone: a run ahead
  // of the game on another thread leaves the pool to the game's own ticks.
  class Alone {
   public:
    Alone() { ++depth_; }
    ~Alone() { --depth_; }
    Alone(const Alone&) = delete;
    Alone& operator=(const Alone&) = delete;
    static bool active() { return depth_ > 0; }

   private:
    static inline thread_local int depth_ = 0;
  };
  // While one lives, the passes of its thread run on `pool`: a run ahead of the game
  // on another thread takes threads of its own and leaves the shared pool to the
  // game's ticks.
  class Using {
   public:
    explicit Using(LanePool& pool) : previous_(current_) { current_ = &pool; }
    ~Using() { current_ = previous_; }
    Using(const Using&) = delete;
    Using& operator=(const Using&) = delete;
    static LanePool* current() { return current_; }

   private:
    LanePool* previous_;
    static inline thread_local LanePool* current_ = nullptr;
  };

  // Runs work(c) once for every chunk c of 0..chunks-1 and returns when all are
  // done: on the calling thread alone unless `share`, else on whichever threads
  // come first. At most 65535 chunks.
  void run(int chunks, bool share, const std::function<void(int)>& work);

 private:
  void start();
  void stop();
  void serve(uint32_t pass);
  void takeChunks(uint32_t pass);

  int threads_ = 1;
  int minRowsPerThread_ = kDefaultMinRowsPerThread;
  int chunkRows_ = kDefaultChunkRows;
  std::vector<std::thread> workers_;
  uint32_t pass_ = 0;                 // the caller's count of shared passes
  std::atomic<uint32_t> started_{0};  // the pass the workers are woken for
  // The pass (high 32 bits), its chunk count (next 16) and its next chunk (low 16):
  // one word, so that a thread late for a pass cannot take a chunk of the next.
  std::atomic<uint64_t> claim_{0};
  std::atomic<int> done_{0};                        // chunks of this pass finished
  const std::function<void(int)>* work_ = nullptr;  // published with claim_
  std::atomic<bool> stopping_{false};
};

// The thread count asked for by VELMORA_THREADS or the build, one per processor
// for 0; out-of-range or unreadable values fall back to the build's.
int requestedThreads();

}  // namespace velmora::sim
