#include "platform/player_file.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QSaveFile>
#include <QString>
#include <algorithm>
#include <cerrno>
#include <system_error>

#include "platform/file_name.h"

namespace velmora {

namespace {

constexpr const char* kLinkLoop = "it is a loop of symbolic links";

std::string systemText(int error) {
  std::string text = std::error_code(error, std::generic_category()).message();
  if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z') text[0] = static_cast<char>(text[0] + 32);
  return text;
}

std::string unreadable(int error) {
  return "it cannot be read (" + systemText(error) + ")";
}

// What a file that is neither a regular file nor a folder is.
std::string notAFile(mode_t mode) {
  if (S_ISFIFO(mode)) return "it is a pipe, not a file";
  if (S_ISSOCK(mode)) return "it is a socket, not a file";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "it is a device, not a file";
  return "it is not a regular file";
}

std::string whyNotOpened(const std::string& path, int error) {
  struct stat seen {};
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return "there is no such file";
    case ELOOP:
      return kLinkLoop;
    case ENXIO:  // a socket, or a device without its hardware
      if (::stat(path.c_str(), &seen) == 0) return notAFile(seen.st_mode);
      break;
    default:
      break;
  }
  return unreadable(error);
}

// Why a file of this name cannot be written, when what the name leads to says so
// already: a loop of symbolic links, or something that is neither a regular file
// nor a folder. Nothing otherwise (also when the file does not exist yet).
std::optional<std::string> unwritableKind(const std::string& path) {
  struct stat target {};
  if (::stat(path.c_str(), &target) != 0) {
    if (errno == ELOOP) return kLinkLoop;
    return std::nullopt;
  }
  if (S_ISREG(target.st_mode) || S_ISDIR(target.st_mode)) return std::nullopt;
  // A save file replaces what it names by renaming: never a device or a pipe.
  return "it is not a regular file";
}

std::string lower(QString errorText) {
  if (!errorText.isEmpty()) errorText[0] = errorText[0].toLower();
  return errorText.toStdString();
}

// Whether a write of `size` bytes that failed with `error` met a limit on the size
// of a file: the process's (ulimit -f) or the file system's own.
bool beyondSizeLimit(int error, size_t size) {
  if (error == EFBIG) return true;
  rlimit limit{};
  return getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
         size > limit.rlim_cur;
}

std::string whyNotWritten(const QSaveFile& file, int error, size_t size) {
  if (beyondSizeLimit(error, size)) return "the file is too large for this folder's limit";
  return lower(file.errorString());
}

}  // namespace

RegularFile::RegularFile(const std::string& path) {
  // A zero byte would end the name early: the file it names is another one.
  if (path.find('\0') != std::string::npos) {
    refusal_ = "there is no such file";
    return;
  }
  fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd_ < 0) {
    refusal_ = whyNotOpened(path, errno);
    return;
  }
  struct stat info {};
  if (::fstat(fd_, &info) != 0) {
    refusal_ = unreadable(errno);
  } else if (S_ISDIR(info.st_mode)) {
    refusal_ = "it is a folder, not a file";
  } else if (!S_ISREG(info.st_mode)) {
    refusal_ = notAFile(info.st_mode);
  }
  size_ = info.st_size;
}

RegularFile::~RegularFile() {
  if (fd_ >= 0) ::close(fd_);
}

std::optional<std::string> RegularFile::readAtMost(long long maxBytes) {
  if (refusal_) return std::nullopt;
  const auto limit = static_cast<size_t>(std::max(0LL, maxBytes));
  // The measured size is a first guess: a file may grow, and some report 0.
  std::string bytes(std::min(limit, static_cast<size_t>(std::max(0LL, size_)) + 1), '\0');
  size_t got = 0;
  while (got < limit) {
    if (got == bytes.size()) bytes.resize(std::min(limit, 2 * bytes.size() + 4096));
    const ssize_t n = ::read(fd_, bytes.data() + got, bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      refusal_ = unreadable(errno);
      return std::nullopt;
    }
    if (n == 0) break;
    got += static_cast<size_t>(n);
  }
  bytes.resize(got);
  return bytes;
}

SaveFileWriter::SaveFileWriter(const std::string& path) {
  const std::optional<QString> name = qtFileName(path);
  if (!name) {
    failure_ = "its name is not UTF-8 text; choose another name";
    return;
  }
  if ((failure_ = unwritableKind(path))) return;
  file_ = std::make_unique<QSaveFile>(*name);
  if (!file_->open(QIODevice::WriteOnly)) failure_ = lower(file_->errorString());
}

SaveFileWriter::~SaveFileWriter() = default;

void SaveFileWriter::fail(int error) {
  failure_ = whyNotWritten(*file_, error, static_cast<size_t>(end_));
  file_->cancelWriting();
}

bool SaveFileWriter::write(const char* data, long long size) {
  if (failure_) return false;
  errno = 0;
  end_ = std::max(end_, file_->pos() + size);
  if (file_->write(data, size) != size) fail(errno);
  return !failure_;
}

bool SaveFileWriter::seek(long long position) {
  if (failure_) return false;
  errno = 0;
  if (!file_->seek(position)) fail(errno);
  return !failure_;
}

long long SaveFileWriter::position() const {
  return file_ ? file_->pos() : 0;
}

long long SaveFileWriter::size() const {
  return file_ ? file_->size() : 0;
}

std::optional<std::string> SaveFileWriter::commit() {
  if (failure_) return failure_;
  // The buffered bytes reach the disk at the flush: check it, as the commit's own
  // flush does not say why it failed.
  errno = 0;
  if (!file_->flush()) {
    fail(errno);
    return failure_;
  }
  errno = 0;
  if (!file_->commit()) failure_ = whyNotWritten(*file_, errno, static_cast<size_t>(end_));
  return failure_;
}

std::optional<std::string> writeWholeFile(const std::string& path, const std::string& bytes) {
  SaveFileWriter file(path);
  file.write(bytes.data(), static_cast<long long>(bytes.size()));
  return file.commit();
}

}  // namespace velmora
