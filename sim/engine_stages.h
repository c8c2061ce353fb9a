// The stages of the real tick, over the tables, the generator and the surface.
#pragma once

#include "form/surface.h"
#include "sim/gravity.h"
#include "sim/pull_rows.h"
#include "sim/tick.h"
#include "world/rng.h"
#include "world/world.h"

namespace velmora::sim {

class EngineStages {
 public:
  EngineStages(World& world, const TickInputs& in, Rng& rng, Surface& surface,
               AxialSweep order = AxialSweep::kGuess)
      : w_(world), in_(in), rng_(rng), surface_(surface), order_(order) {}

  void move(int i);
  void beginGravity(int top);
  void pairs(int i);
  void border(int i);
  void startBody(int) { sumX_ = sumY_ = 0; }
  void pair(int i, int j);
  void draw(int i);
  void accelerate(int i);
  void merge(int a, int b);
  bool mayMerge() const { return rows_.anyNear; }
  bool mayMerge(int a) const { return rows_.near[a] != 0; }

  // Border events and merges so far, each of which called KlinK.
  int disturbances() const { return disturbances_; }

 private:
  World& w_;
  const TickInputs& in_;
  Rng& rng_;
  Surface& surface_;
  AxialSweep order_;
  CarriedForce force_;  // 0 at the start of every tick
  double sumX_ = 0;
  double sumY_ = 0;
  int disturbances_ = 0;
  int top_ = -1;
  PullRows rows_;
  RowPulls row_;
};

}  // namespace velmora::sim
