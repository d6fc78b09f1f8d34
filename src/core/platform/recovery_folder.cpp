#include "platform/recovery_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

namespace mirasketch {
namespace {

constexpr char kPrefix[] = "recovery-";
constexpr char kCopySuffix[] = ".kvl";
constexpr char kTempMark[] = ".kvl.tmp-";

bool StartsWith(const std::string& text, const char* start) {
  return text.rfind(start, 0) == 0;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Creates every missing folder of `path`; false with errno set when one cannot be made.
bool MakeFolders(const std::string& path) {
  for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1)) {
    const std::string part = path.substr(0, slash);
    if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return false;
  if (!S_ISDIR(info.st_mode)) {
    errno = ENOTDIR;
    return false;
  }
  return true;
}

// Opens and locks a lock file without waiting: its descriptor, or −1 when another program holds
// it (or it cannot be opened).
int TryLock(const std::string& path) {
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return -1;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

std::string RecoveryFolder::DefaultPath() {
  const char* cache = std::getenv("XDG_CACHE_HOME");
  if (cache != nullptr && cache[0] == '/') return std::string(cache) + "/mirasketch/";
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') return std::string(home) + "/.cache/mirasketch/";
  return {};
}

RecoveryFolder::~RecoveryFolder() {
  ReleaseLeftCopies();
  if (lockFd_ >= 0) {
    unlink(LockPath(key_).c_str());
    close(lockFd_);
  }
}

std::string RecoveryFolder::LockPath(const std::string& key) const {
  return folder_ + kPrefix + key + ".lock";
}

bool RecoveryFolder::Claim(const std::string& folder, std::string& error) {
  if (folder.empty()) {
    error = "no cache folder (neither XDG_CACHE_HOME nor HOME is set)";
    return false;
  }
  folder_ = folder.back() == '/' ? folder : folder + "/";
  if (!MakeFolders(folder_)) {
    error = folder_ + ": " + std::strerror(errno);
    return false;
  }
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  const std::string stem =
      std::to_string(getpid()) + "-" +
      std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
  // The lock file is made new, so a key is never shared, even by two starts in one process.
  for (int attempt = 0; lockFd_ < 0 && attempt < 100; ++attempt) {
    key_ = attempt == 0 ? stem : stem + "-" + std::to_string(attempt);
    lockFd_ = open(LockPath(key_).c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (lockFd_ < 0 && errno != EEXIST) break;
  }
  if (lockFd_ >= 0 && flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
    close(lockFd_);
    lockFd_ = -1;
  }
  if (lockFd_ < 0) {
    error = LockPath(key_) + ": " + std::strerror(errno);
    return false;
  }
  copyPath_ = folder_ + kPrefix + key_ + kCopySuffix;
  return true;
}

void RecoveryFolder::RemoveOwnCopy() const {
  if (!Claimed()) return;
  unlink(copyPath_.c_str());
  RemoveOwnTemporaries();
}

void RecoveryFolder::RemoveOwnTemporaries() const {
  if (!Claimed()) return;
  DIR* dir = opendir(folder_.c_str());
  if (dir == nullptr) return;
  const std::string temp = std::string(kPrefix) + key_ + kTempMark;
  while (const dirent* entry = readdir(dir))
    if (StartsWith(entry->d_name, temp.c_str())) unlink((folder_ + entry->d_name).c_str());
  closedir(dir);
}

void RecoveryFolder::CloseLockInChild() const {
  if (lockFd_ >= 0) close(lockFd_);
}

std::vector<RecoveryFolder::LeftCopy> RecoveryFolder::FindLeftCopies() {
  std::vector<LeftCopy> copies;
  if (!Claimed()) return copies;
  std::vector<std::string> names;
  if (DIR* dir = opendir(folder_.c_str())) {
    while (const dirent* entry = readdir(dir)) names.emplace_back(entry->d_name);
    closedir(dir);
  }
  // Keys of programs that have ended: their lock could be taken (or is already held here).
  auto ended = [&](const std::string& key) {
    if (key == key_) return false;
    for (const HeldLock& held : leftLocks_)
      if (held.key == key) return true;
    const int fd = TryLock(LockPath(key));
    if (fd < 0) return false;
    leftLocks_.push_back({key, fd});
    return true;
  };
  const std::size_t prefix = std::strlen(kPrefix);
  for (const std::string& name : names) {
    if (!StartsWith(name, kPrefix)) continue;
    const std::size_t temp = name.find(kTempMark);
    if (temp != std::string::npos) {
      if (ended(name.substr(prefix, temp - prefix))) unlink((folder_ + name).c_str());
    } else if (EndsWith(name, kCopySuffix)) {
      const std::string key = name.substr(prefix, name.size() - prefix - std::strlen(kCopySuffix));
      struct stat info;
      if (!key.empty() && ended(key) && stat((folder_ + name).c_str(), &info) == 0 &&
          S_ISREG(info.st_mode))
        copies.push_back({key, folder_ + name, info.st_mtime});
    }
  }
  // Locks of ended programs that left no copy are not needed by anyone.
  for (std::size_t i = leftLocks_.size(); i-- > 0;) {
    const std::string key = leftLocks_[i].key;
    if (std::none_of(copies.begin(), copies.end(),
                     [&](const LeftCopy& copy) { return copy.key == key; }))
      Forget(key, true);
  }
  std::sort(copies.begin(), copies.end(),
            [](const LeftCopy& a, const LeftCopy& b) { return a.written > b.written; });
  return copies;
}

void RecoveryFolder::Forget(const std::string& key, bool removeLock) {
  for (auto held = leftLocks_.begin(); held != leftLocks_.end(); ++held) {
    if (held->key != key) continue;
    if (removeLock) unlink(LockPath(key).c_str());
    close(held->fd);
    leftLocks_.erase(held);
    return;
  }
}

bool RecoveryFolder::TakeOver(const LeftCopy& copy) {
  if (rename(copy.path.c_str(), copyPath_.c_str()) != 0) return false;
  Forget(copy.key, true);
  return true;
}

void RecoveryFolder::Remove(const LeftCopy& copy) {
  unlink(copy.path.c_str());
  Forget(copy.key, true);
}

std::string RecoveryFolder::MoveAside(const LeftCopy& copy) {
  const std::string aside = folder_ + "damaged-" + copy.key + kCopySuffix;
  if (rename(copy.path.c_str(), aside.c_str()) != 0) return {};
  Forget(copy.key, true);
  return aside;
}

void RecoveryFolder::ReleaseLeftCopies() {
  while (!leftLocks_.empty()) Forget(leftLocks_.back().key, false);
}

}  // namespace mirasketch
