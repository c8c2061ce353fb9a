// The tally file on disk: read in one piece, replaced atomically (a temporary file
// beside it, flushed, then renamed over it), so a crash never loses the record.
// Where no temporary file can be made beside it (a folder the player cannot write,
// the file itself writable), it is written in place instead: a record saved that
// way is worth more than one lost at exit.
#pragma once

#include <string>

#include "state/tally_storage.h"

namespace velmora {

class TallyFile final : public TallyStorage {
 public:
  explicit TallyFile(std::string path) : path_(std::move(path)) {}
  std::optional<std::string> read() override;
  bool write(const std::string& contents) override;
  std::string where() const override { return path_; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// The tally file's place: "tallyho.ogg" beside the executable when that directory
// can be written, else in the user's data directory ($XDG_DATA_HOME/velmora).
std::string defaultTallyPath();

}  // namespace velmora
