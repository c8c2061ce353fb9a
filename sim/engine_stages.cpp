#include "sim/engine_stages.h"

#include <cmath>

#include "sim/bomb.h"
#include "sim/border.h"
#include "sim/merge.h"

namespace velmora::sim {

void EngineStages::move(int i) {
  w_.PlanetX[i] = w_.PlanetX[i] + w_.MomentumX[i];
  w_.PlanetY[i] = w_.PlanetY[i] + w_.MomentumY[i];
}

void EngineStages::border(int i) {
  disturbances_ += borderStep(w_, in_, rng_, i);
}

void EngineStages::beginGravity(int top) {
  top_ = top;
  computePullRows(w_, top, rows_, order_);
}

// A row the kernel took has its sums and the force it carries on from there; only
// its kicks, in order, are made here.
void EngineStages::pairs(int i) {
  if (rows_.redo[i] != 0) {
    // Literal order; plain pairs take the lanes' values, which pairStep would repeat.
    pullsOfRow(w_, i, top_, rows_, row_);
    for (int j = top_; j >= 0; --j) {
      if (j == i || w_.PlanetOff[j] == 1) continue;
      if (row_.plain[j] != 0) {
        force_ = {row_.fx[j], row_.fy[j]};
        sumX_ = sumX_ + force_.fx;
        sumY_ = sumY_ + force_.fy;
      } else {
        pair(i, j);
      }
    }
    return;
  }
  for (const int j : rows_.kicks[i]) kickApart(w_, i, j, rng_, surface_);
  sumX_ = rows_.sumX[i];
  sumY_ = rows_.sumY[i];
  if (!std::isnan(rows_.carryX[i])) force_ = {rows_.carryX[i], rows_.carryY[i]};
}

void EngineStages::pair(int i, int j) {
  pairStep(w_, i, j, force_, rng_, surface_);
  sumX_ = sumX_ + force_.fx;
  sumY_ = sumY_ + force_.fy;
}

// The rows after this one whose dots' memory is fetched now: the picture is too
// large for the caches, and a dot's place is far from the last one's.
constexpr int kDotsAhead = 16;

void EngineStages::draw(int i) {
  const int ahead = i - kDotsAhead;
  if (ahead >= 0) surface_.prefetch(floorTwips(w_.PlanetX[ahead]), floorTwips(w_.PlanetY[ahead]));
  Bomb(floorTwips(w_.PlanetX[i]), floorTwips(w_.PlanetY[i]), 1, i, i, w_, rng_, surface_);
}

void EngineStages::accelerate(int i) {
  w_.MomentumX[i] = w_.MomentumX[i] + sumX_;
  w_.MomentumY[i] = w_.MomentumY[i] + sumY_;
}

void EngineStages::merge(int a, int b) {
  if (mergeStep(w_, a, b, rng_, surface_)) ++disturbances_;
}

}  // namespace velmora::sim
