#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/io_error.h"

namespace mirasketch {
namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& path, int error) {
  throw IoError(what + " " + path + " (" + std::strerror(error) + ")");
}

}  // namespace

InFile::InFile(const std::string& path) : name_(path) {
  file_ = std::fopen(path.c_str(), "rb");
  if (file_ == nullptr) Fail("I/O error: cannot open", path, errno);
  struct stat info {};
  if (fstat(fileno(file_), &info) != 0 || !S_ISREG(info.st_mode)) {
    int error = errno != 0 ? errno : EISDIR;
    std::fclose(file_);
    file_ = nullptr;
    Fail("I/O error: cannot read", path, error);
  }
  size_ = static_cast<std::uint64_t>(info.st_size);
}

InFile::InFile(const void* data, std::size_t size, const std::string& name)
    : memory_(static_cast<const std::uint8_t*>(data)), name_(name), size_(size) {}

InFile::~InFile() {
  if (file_ != nullptr) std::fclose(file_);
}

bool InFile::Exists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0;
}

std::size_t InFile::Read(void* out, std::size_t count) {
  // Bytes a growing file gains after it was measured are not read, so Position() never passes
  // Size() and the counts readers checked against Remaining() stay true.
  count = static_cast<std::size_t>(std::min<std::uint64_t>(count, Remaining()));
  if (count == 0) return 0;
  if (file_ == nullptr) {
    std::memcpy(out, memory_ + position_, count);
    position_ += count;
    return count;
  }
  std::size_t got = std::fread(out, 1, count, file_);
  position_ += got;
  if (got < count && std::ferror(file_)) Fail("I/O error: cannot read", name_, errno);
  return got;
}

bool InFile::ReadExact(void* out, std::size_t count) {
  return Read(out, count) == count;
}

bool InFile::Skip(std::uint64_t count) {
  if (count > Remaining()) {
    position_ = size_;
    if (file_ != nullptr) std::fseek(file_, 0, SEEK_END);
    return false;
  }
  return Seek(position_ + count);
}

bool InFile::Seek(std::uint64_t position) {
  if (position > size_) return false;
  if (position == position_) return true;
  if (file_ != nullptr && fseeko(file_, static_cast<off_t>(position), SEEK_SET) != 0)
    Fail("I/O error: cannot read", name_, errno);
  position_ = position;
  return true;
}

SafeFileWriter::SafeFileWriter(const std::string& path) : path_(path) {
  std::vector<char> pattern(path.begin(), path.end());
  const char suffix[] = ".tmp-XXXXXX";
  pattern.insert(pattern.end(), suffix, suffix + sizeof suffix);
  int fd = mkstemp(pattern.data());
  if (fd < 0) Fail("I/O error: cannot create", path, errno);
  tempPath_ = pattern.data();
  // mkstemp creates the file for its owner only; a saved picture gets the usual permissions.
  mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
  file_ = fdopen(fd, "wb");
  if (file_ == nullptr) {
    int error = errno;
    close(fd);
    Discard();
    Fail("I/O error: cannot create", path, error);
  }
}

SafeFileWriter::~SafeFileWriter() {
  Discard();
}

void SafeFileWriter::Discard() {
  if (file_ != nullptr) {
    std::fclose(file_);
    file_ = nullptr;
  }
  if (!tempPath_.empty()) {
    std::remove(tempPath_.c_str());
    tempPath_.clear();
  }
}

void SafeFileWriter::Write(const void* data, std::size_t count) {
  if (file_ == nullptr) Fail("I/O error: cannot write", path_, EBADF);
  if (count > 0 && std::fwrite(data, 1, count, file_) != count) {
    int error = errno;
    Discard();
    Fail("I/O error: cannot write", path_, error);
  }
}

void SafeFileWriter::Commit() {
  if (file_ == nullptr) Fail("I/O error: cannot write", path_, EBADF);
  int error = 0;
  if (std::fflush(file_) != 0 || fsync(fileno(file_)) != 0) error = errno;
  if (std::fclose(file_) != 0 && error == 0) error = errno;
  file_ = nullptr;
  if (error == 0 && std::rename(tempPath_.c_str(), path_.c_str()) != 0) error = errno;
  if (error != 0) {
    Discard();
    Fail("I/O error: cannot write", path_, error);
  }
  tempPath_.clear();
}

}  // namespace mirasketch
