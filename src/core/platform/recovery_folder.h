#pragma once

#include <ctime>
#include <string>
#include <vector>

namespace mirasketch {

// The folder of recovery copies and this program's place in it. A running program keeps its copy
// as "recovery-KEY.kvl" and holds a lock on "recovery-KEY.lock" for as long as it runs (KEY is
// its process number and start time). The system lets go of a lock when its program ends,
// however it ends, so a copy whose lock is free was left by a program that did not end normally.
class RecoveryFolder {
 public:
  // A copy left by a program that has ended, and the time it was last written.
  struct LeftCopy {
    std::string key;
    std::string path;
    std::time_t written = 0;
  };

  // The user's cache folder for the program, with a trailing separator: "$XDG_CACHE_HOME/
  // mirasketch/", else "$HOME/.cache/mirasketch/"; empty when neither variable is set.
  static std::string DefaultPath();

  RecoveryFolder() = default;
  // Lets go of this program's lock and of the locks of left copies still held.
  ~RecoveryFolder();
  RecoveryFolder(const RecoveryFolder&) = delete;
  RecoveryFolder& operator=(const RecoveryFolder&) = delete;

  // Creates `folder` (a trailing separator is added when missing) and takes this program's lock.
  // False, with the reason in `error`, when the folder cannot be made or locked.
  bool Claim(const std::string& folder, std::string& error);
  bool Claimed() const { return lockFd_ >= 0; }
  const std::string& Folder() const { return folder_; }
  // Where this program's copy is written.
  const std::string& CopyPath() const { return copyPath_; }
  // Removes this program's copy and any temporary file a stopped write left beside it.
  void RemoveOwnCopy() const;
  // Removes only the temporary files a stopped write left.
  void RemoveOwnTemporaries() const;
  // In the child process of a write: closes the child's share of the lock, so the lock ends
  // with the program and not with the write.
  void CloseLockInChild() const;

  // The copies left by programs that have ended, newest first. Their locks are taken, so another
  // program starting now does not offer them too; temporary files such programs left are removed.
  std::vector<LeftCopy> FindLeftCopies();
  // Makes a left copy this program's own copy (renamed over it); false when the rename fails.
  bool TakeOver(const LeftCopy& copy);
  // Removes a left copy, or moves it aside as "damaged-KEY.kvl" and gives that path.
  void Remove(const LeftCopy& copy);
  std::string MoveAside(const LeftCopy& copy);
  // Lets go of the locks of left copies not handled, so a later start offers them again.
  void ReleaseLeftCopies();

 private:
  std::string LockPath(const std::string& key) const;
  void Forget(const std::string& key, bool removeLock);

  struct HeldLock {
    std::string key;
    int fd;
  };
  std::string folder_;
  std::string key_;
  std::string copyPath_;
  int lockFd_ = -1;
  std::vector<HeldLock> leftLocks_;
};

}  // namespace mirasketch
