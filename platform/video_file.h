// A video written frame by frame through FFmpeg's libraries, in the format the
// file's name ends with: H.264 in yuv420p in MP4 (plays everywhere), VP9 in WebM,
// APNG (lossless). The bytes go through a save file, so the video appears under
// its name whole or not at all: a failed or abandoned one leaves nothing behind.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace velmora {

enum class VideoKind { kMp4, kWebM, kApng };

// The kind a file name asks for by its ending (".mp4", ".webm", ".apng", in any
// case); nothing for any other name.
std::optional<VideoKind> videoKindOf(const std::string& path);

class VideoFile {
 public:
  VideoFile();
  ~VideoFile();  // unfinished: the file is abandoned
  VideoFile(const VideoFile&) = delete;
  VideoFile& operator=(const VideoFile&) = delete;

  // Starts the video at `path` for frames of width x height pixels shown `fps` a
  // second. H.264 and VP9 take even sizes only: an odd width or height gets one
  // black column or row more. Why it cannot start; nothing when it started.
  std::optional<std::string> open(const std::string& path, VideoKind kind, int width, int height,
                                  int fps);
  // One frame: height rows of width 0xffRRGGBB words, `strideWords` words apart.
  std::optional<std::string> add(const uint32_t* pixels, int strideWords);
  // Writes what the encoder still holds and the container's end, and puts the file
  // under its name.
  std::optional<std::string> finish();

 private:
  struct Encoder;
  std::unique_ptr<Encoder> encoder_;
};

}  // namespace velmora
