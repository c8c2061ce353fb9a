// Saves new top scores as fast as it can through the real tally file, for the test
// that kills it at random moments. Scores rise by one from START; it stops by
// itself after a few seconds should nobody kill it.
// Usage: tally_writer PATH START
#include <chrono>
#include <cstdlib>
#include <string>

#include "platform/tally_file.h"
#include "stats/tally_line.h"

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  velmora::TallyFile file(argv[1]);
  double score = std::atof(argv[2]);
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < end) {
    score += 1;
    if (!file.write(velmora::tallyLine(score))) return 1;
  }
  return 0;
}
