// Files the player names (saved systems, pictures, the tally): read only when
// they are regular files, written whole or not at all. Failures come in the
// player's words, to follow "Cannot open "NAME": ".
#pragma once

#include <memory>
#include <optional>
#include <string>

class QSaveFile;

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

// A file written in pieces through a save file (a temporary file beside it, renamed
// over the name by commit()), for what is too large to hold in memory whole. It may
// seek back and write again, as a video's container does. Until commit() nothing
// shows under the name; a writer destroyed uncommitted, or one that failed, leaves
// any earlier file whole and nothing beside it.
class SaveFileWriter {
 public:
  explicit SaveFileWriter(const std::string& path);
  ~SaveFileWriter();
  SaveFileWriter(const SaveFileWriter&) = delete;
  SaveFileWriter& operator=(const SaveFileWriter&) = delete;

  // Why the file cannot be written, in the player's words; nothing while it can.
  const std::optional<std::string>& failure() const { return failure_; }
  bool write(const char* data, long long size);
  bool seek(long long position);
  long long position() const;
  long long size() const;
  // Puts the bytes under the name. Why it failed; nothing when it worked.
  std::optional<std::string> commit();

 private:
  void fail(int error);

  std::unique_ptr<QSaveFile> file_;
  std::optional<std::string> failure_;
  long long end_ = 0;  // the furthest byte written
};

// Replaces the file with `bytes` through a save file, so that a failure (a full
// disk, a file-size limit, a read-only folder) leaves any earlier file whole and
// nothing beside it. Why it failed; nothing when it worked.
std::optional<std::string> writeWholeFile(const std::string& path, const std::string& bytes);

}  // namespace velmora
