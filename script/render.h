// Renders one system without a window: the panel set as a player would set it,
// "Go", then a number of simulation ticks in virtual time (or a saved system opened
// and resumed for that number of ticks), and the field as the player sees it at x1
// written as a PNG. Or a video of the run: a frame every so many ticks.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "state/tally_storage.h"

namespace velmora {

struct RenderRequest {
  std::string path;               // the picture or video to write
  int preset = 0;                 // 1..6: that preset button first; 0: none
  std::optional<long long> seed;  // frozen seed, typed into the seed field
  bool spin = false;              // the spin check box
  long long ticks = 2000;         // ticks of the simulation timer
  std::string open;               // a saved system to resume instead of "Go"; empty: none
  long long every = 1;            // a video's frame every so many ticks
  int fps = 60;                   // a video's frames a second
};

// Returns the exit status: 0 when the file was written, 2 on a bad request or a
// file that cannot be written (the reason goes to `err`, which also has a line of
// progress each second while a video is written). The name's ending says what:
// ".png" a picture, ".mp4", ".webm" or ".apng" a video.
int render(const RenderRequest& request, TallyStorage& tally, std::ostream& out, std::ostream& err);

// The picture alone, whatever the name's ending.
int renderPicture(const RenderRequest& request, TallyStorage& tally, std::ostream& out,
                  std::ostream& err);

}  // namespace velmora
