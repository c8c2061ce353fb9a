#include "app/passes_alone.h"

#include "sim/lane_pool.h"

namespace velmora {

struct PassesAlone::Held {
  sim::LanePool::Alone alone;
};

PassesAlone::PassesAlone() : held_(std::make_unique<Held>()) {}
PassesAlone::~PassesAlone() = default;

}  // namespace velmora
