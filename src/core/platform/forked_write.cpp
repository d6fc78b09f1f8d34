#include "platform/forked_write.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <exception>

namespace mirasketch {
namespace {

// Runs in the child: the write, its failure into the pipe, and an end that runs none of the
// program's exit handlers (they belong to the parent).
[[noreturn]] void RunChild(const std::function<void()>& write, int reasonPipe) {
  // A termination signal meant for the program by name must not reach the handler the child
  // inherited, which would tell the parent to close.
  std::signal(SIGTERM, SIG_DFL);
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGHUP, SIG_DFL);
  // The write gives way to the user's strokes on a machine with few cores.
  setpriority(PRIO_PROCESS, 0, 10);
  const char* reason = nullptr;
  try {
    write();
  } catch (const std::exception& failure) {
    reason = failure.what();
  } catch (...) {
    reason = "unknown failure";
  }
  if (reason == nullptr) _exit(0);
  // The reason is far shorter than a pipe holds, so the write cannot block.
  const std::size_t length = std::min<std::size_t>(std::strlen(reason), 1024);
  if (::write(reasonPipe, reason, length) < 0) _exit(2);
  _exit(1);
}

}  // namespace

ForkedWrite::~ForkedWrite() {
  Cancel();
}

bool ForkedWrite::Start(const std::function<void()>& write, std::string& error) {
  if (Running()) {
    error = "a write is still running";
    return false;
  }
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) {
    error = std::strerror(errno);
    return false;
  }
  const pid_t pid = fork();
  if (pid < 0) {
    error = std::strerror(errno);
    close(fds[0]);
    close(fds[1]);
    return false;
  }
  if (pid == 0) {
    close(fds[0]);
    RunChild(write, fds[1]);
  }
  close(fds[1]);
  child_ = pid;
  reasonPipe_ = fds[0];
  return true;
}

std::optional<std::string> ForkedWrite::Collect(int status, bool statusKnown) {
  std::string reason;
  char buffer[256];
  ssize_t got;
  // The child has ended, so every write end is closed and the read stops at the end of its text.
  while ((got = read(reasonPipe_, buffer, sizeof buffer)) > 0)
    reason.append(buffer, static_cast<std::size_t>(got));
  close(reasonPipe_);
  reasonPipe_ = -1;
  child_ = -1;
  if (reason.empty() && statusKnown && !(WIFEXITED(status) && WEXITSTATUS(status) == 0))
    reason = WIFSIGNALED(status) ? "the write ended by signal " + std::to_string(WTERMSIG(status))
                                 : "the write ended abnormally";
  return reason;
}

std::optional<std::string> ForkedWrite::Poll() {
  if (!Running()) return std::nullopt;
  int status = 0;
  const pid_t ended = waitpid(child_, &status, WNOHANG);
  if (ended == 0) return std::nullopt;
  // A child the system reaped itself (children ignored) has ended with its outcome in the pipe.
  return Collect(status, ended == child_);
}

std::optional<std::string> ForkedWrite::Wait() {
  if (!Running()) return std::nullopt;
  int status = 0;
  pid_t ended;
  do {
    ended = waitpid(child_, &status, 0);
  } while (ended < 0 && errno == EINTR);
  return Collect(status, ended == child_);
}

void ForkedWrite::Cancel() {
  if (!Running()) return;
  kill(child_, SIGKILL);
  Wait();
}

}  // namespace mirasketch
