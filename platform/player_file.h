// Files the player names (saved systems, pictures, the tally): read only when
// they are regular files, written whole or not at all. Failures come in the
// player's words, to follow "Cannot open "NAME": ".
#pragma once

#include <optional>
#include <string>

namespace velmora {

// A file opened for reading only when it is a regular file. It is opened without
// blocking and then the opened descriptor is asked what it is, so a pipe is refused
// at once (a plain open waits for a writer for ever), a device is never read (one
// like /dev/zero never ends), and nothing can swap the name between a look and the
// open.
class RegularFile {
 public:
  explicit RegularFile(const std::string& path);
  ~RegularFile();
  RegularFile(const RegularFile&) = delete;
  RegularFile& operator=(const RegularFile&) = delete;

  // Why the file cannot be read, in the player's words ("there is no such file",
  // "it is a pipe, not a file"); nothing while it can.
  const std::optional<std::string>& refusal() const { return refusal_; }
  // The size the file had when it was opened.
  long long size() const { return size_; }
  // The bytes from the start, at most `maxBytes` of them; nothing after a failure,
  // with refusal() saying why.
  std::optional<std::string> readAtMost(long long maxBytes);

 private:
  int fd_ = -1;
  long long size_ = 0;
  std::optional<std::string> refusal_;
};

// Replaces the file with `bytes` through a save file, so that a failure (a full
// disk, a file-size limit, a read-only folder) leaves any earlier file whole and
// nothing beside it. Why it failed; nothing when it worked.
std::optional<std::string> writeWholeFile(const std::string& path, const std::string& bytes);

}  // namespace velmora
