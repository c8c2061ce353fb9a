#include "app/own_lanes.h"

#include "sim/lane_pool.h"

namespace velmora {

struct OwnLanes::Held {
  sim::LanePool lanes{sim::LanePool::shared().threads()};
  sim::LanePool::Using use{lanes};
};

OwnLanes::OwnLanes() : held_(std::make_unique<Held>()) {}
OwnLanes::~OwnLanes() = default;

}  // namespace velmora
