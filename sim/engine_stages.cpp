#include "sim/engine_stages.h"

#include "create/bomb.h"
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

void EngineStages::pair(int i, int j) {
  pairStep(w_, i, j, force_, rng_, surface_);
  sumX_ = sumX_ + force_.fx;
  sumY_ = sumY_ + force_.fy;
}

void EngineStages::draw(int i) {
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
