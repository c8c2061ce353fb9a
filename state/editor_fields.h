// The editor's value fields TXTp(0..kTxtpCount - 1) by the table they show, and the
// scroll bars beside them: Hsp(k) moves the value of TXTp(k) for every field before
// the gravity, which has none.
#pragma once

namespace velmora {

enum TxtpIndex : int {
  kTxtpX = 0,
  kTxtpY,
  kTxtpMomentumX,
  kTxtpMomentumY,
  kTxtpGravity,
  kTxtpCount
};

inline constexpr int kHspCount = kTxtpGravity;

}  // namespace velmora
