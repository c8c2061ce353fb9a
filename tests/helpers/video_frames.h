// What the video tests share: a shell command's output (FFmpeg's tools decode the
// files written) and a frame's pixels in the bytes FFmpeg's rgb24 gives.
#pragma once

#include <QImage>
#include <cstdio>
#include <string>

namespace velmora::test {

inline std::string commandOutput(const std::string& command) {
  std::string out;
  std::FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return out;
  char buffer[1 << 16];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  ::pclose(pipe);
  return out;
}

inline std::string rgbOf(const QImage& frame) {
  std::string rgb;
  for (int y = 0; y < frame.height(); ++y) {
    for (int x = 0; x < frame.width(); ++x) {
      const QRgb p = frame.pixel(x, y);
      rgb +=
          {static_cast<char>(qRed(p)), static_cast<char>(qGreen(p)), static_cast<char>(qBlue(p))};
    }
  }
  return rgb;
}

}  // namespace velmora::test
