// Where the tally file's one line is kept. The game reads and replaces it through
// this interface; the desktop build keeps it in a real file replaced atomically,
// the tests in memory.
#pragma once

#include <optional>
#include <string>

namespace velmora {

class TallyStorage {
 public:
  virtual ~TallyStorage() = default;
  // The whole contents, or nothing when the file cannot be read (missing, no
  // permission).
  virtual std::optional<std::string> read() = 0;
  // Replaces the whole contents; false when that failed (the old contents stay).
  virtual bool write(const std::string& contents) = 0;
  // Where the contents are kept, as a player would look for them.
  virtual std::string where() const = 0;
};

// Keeps the contents in memory: for tests and for a game that runs without a file.
class MemoryTallyStorage final : public TallyStorage {
 public:
  std::optional<std::string> read() override { return contents; }
  bool write(const std::string& text) override {
    if (failWrites) return false;
    contents = text;
    ++writes;
    return true;
  }
  std::string where() const override { return "memory"; }
  std::optional<std::string> contents;
  bool failWrites = false;
  int writes = 0;
};

}  // namespace velmora
