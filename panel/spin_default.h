// Start angular momentum fitted to the window: floor(numerator / W) as a plain
// integer, the text the Go blink and the presets write into Text2.
#pragma once

#include <string>

namespace velmora {

std::string spinForWidth(double numerator, int widthTwips);

}  // namespace velmora
