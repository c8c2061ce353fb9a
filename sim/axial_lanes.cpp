#include "sim/axial_lanes.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <vector>

namespace velmora::sim {

namespace {

struct Keyed {
  double first, second;  // the coordinate, then the other one
  int body;
  bool operator<(const Keyed& o) const {
    return first != o.first ? first < o.first : second < o.second;
  }
};

// The bodies (not off) by one coordinate, then the other: equal values, -0 and +0
// alike, adjacent. Within one X the bodies that also share a Y (a crowd's corners)
// come together, so the stretches of that Y stay in few blocks.
std::vector<Keyed> sortedBy(const World& w, const Table<double>& by, const Table<double>& then,
                            int n) {
  std::vector<Keyed> keyed;
  keyed.reserve(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    if (w.PlanetOff[i] != 1) keyed.push_back({by[i], then[i], i});
  }
  std::sort(keyed.begin(), keyed.end());
  return keyed;
}

// Calls run(from, to) for every stretch of two or more equal coordinates.
template <class Run>
void forEachShared(const std::vector<Keyed>& keyed, const Run& run) {
  for (size_t from = 0; from < keyed.size();) {
    size_t to = from + 1;
    while (to < keyed.size() && keyed[to].first == keyed[from].first) ++to;
    if (to - from > 1) run(from, to);
    from = to;
  }
}

uint64_t blockBit(int lane) {
  return uint64_t{1} << (lane / kLanesABlock);
}

}  // namespace

void orderAxialLanes(const World& w, int n, AxialLanes& lanes) {
  // The positions are finite here: the lanes take level and straight pairs only then.
  const std::vector<Keyed> byX = sortedBy(w, w.PlanetX, w.PlanetY, n);
  const std::vector<Keyed> byY = sortedBy(w, w.PlanetY, w.PlanetX, n);
  Table<uint8_t> sharesX{};
  Table<uint8_t> sharesY{};
  forEachShared(byX, [&](size_t from, size_t to) {
    for (size_t k = from; k < to; ++k) sharesX[byX[k].body] = 1;
  });
  forEachShared(byY, [&](size_t from, size_t to) {
    for (size_t k = from; k < to; ++k) sharesY[byY[k].body] = 1;
  });

  int next = 0;
  const auto place = [&](int i) {
    lanes.laneOf[i] = next;
    lanes.bodyAt[next++] = i;
  };
  for (const Keyed& k : byX) {
    if (sharesX[k.body] != 0) place(k.body);
  }
  for (const Keyed& k : byY) {
    if (sharesY[k.body] != 0 && sharesX[k.body] == 0) place(k.body);
  }
  lanes.sharing = next;
  for (int i = 0; i < n; ++i) {
    if (sharesX[i] == 0 && sharesY[i] == 0 && w.PlanetOff[i] != 1) place(i);
  }
  lanes.count = next;

  // Bodies on one point sit together: those of one X are sorted by Y.
  lanes.onePoint.clear();
  const auto samePoint = [&](int a, int b) {
    return std::bit_cast<uint64_t>(w.PlanetX[a]) == std::bit_cast<uint64_t>(w.PlanetX[b]) &&
           std::bit_cast<uint64_t>(w.PlanetY[a]) == std::bit_cast<uint64_t>(w.PlanetY[b]);
  };
  for (int from = 0; from < lanes.sharing;) {
    int to = from + 1;
    while (to < lanes.sharing && samePoint(lanes.bodyAt[from], lanes.bodyAt[to])) ++to;
    if (to - from >= kMinOnePoint) lanes.onePoint.push_back({from, to});
    from = to;
  }

  // A stretch of one X is placed whole, in one run of lanes: its bodies' straight
  // partners. Of a stretch of one Y, the bodies that share no X are placed in one
  // run, and those of each X among the rest in one run within that X's stretch.
  for (int i = 0; i < n; ++i) lanes.partners[i] = {};
  forEachShared(byX, [&](size_t from, size_t to) {
    const int first = lanes.laneOf[byX[from].body];
    const LaneRange run{first, first + static_cast<int>(to - from)};
    for (size_t k = from; k < to; ++k) lanes.partners[byX[k].body].straight = run;
  });
  forEachShared(byY, [&](size_t from, size_t to) {
    AxialPartners found;
    int runs = 0;
    // The lanes of byY[a..b) placed by Y, or by X, as one run: they are adjacent.
    const auto addRun = [&](size_t a, size_t b, bool placedByY) {
      LaneRange run{n, 0};
      for (size_t k = a; k < b; ++k) {
        if ((sharesX[byY[k].body] == 0) != placedByY) continue;
        const int lane = lanes.laneOf[byY[k].body];
        run = {std::min(run.from, lane), std::max(run.to, lane + 1)};
      }
      if (run.from == n) return;
      if (runs < kLevelRuns) {
        found.level[runs++] = run;
        return;
      }
      for (int lane = run.from; lane < run.to; ++lane) found.blocks |= blockBit(lane);
    };
    addRun(from, to, true);
    // Sorted by Y then X: the bodies of one X come together.
    for (size_t k = from; k < to;) {
      size_t end = k + 1;
      while (end < to && byY[end].second == byY[k].second) ++end;
      addRun(k, end, false);
      k = end;
    }
    for (size_t k = from; k < to; ++k) {
      lanes.partners[byY[k].body].level = found.level;
      lanes.partners[byY[k].body].blocks = found.blocks;
    }
  });
}

}  // namespace velmora::sim
