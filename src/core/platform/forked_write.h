#pragma once

#include <sys/types.h>
#include <functional>
#include <optional>
#include <string>

namespace mirasketch {

// A file write run in a child process. The child sees the program's memory as it was when the
// write started (the system shares the pages and copies only those the program changes later),
// so the program goes on at once, however large the project, and the file holds one consistent
// moment of the work. Starting costs the copy of the page tables, not of the pixels.
class ForkedWrite {
 public:
  ForkedWrite() = default;
  // Stops a write still running.
  ~ForkedWrite();
  ForkedWrite(const ForkedWrite&) = delete;
  ForkedWrite& operator=(const ForkedWrite&) = delete;

  // Runs `write` in a child process; the child may read anything the program holds but must not
  // touch the windowing toolkit, and reports a failure by throwing. False, with the reason in
  // `error`, when no write could be started (one is running, or the system refused a process).
  bool Start(const std::function<void()>& write, std::string& error);
  bool Running() const { return child_ > 0; }
  // The outcome of a write that has ended, once: an empty text for success, else the reason.
  // Nothing while it runs or when none was started.
  std::optional<std::string> Poll();
  // Waits for a running write and gives its outcome as `Poll` does.
  std::optional<std::string> Wait();
  // Ends a running write at once; whatever it left half-written is the caller's to remove.
  void Cancel();

 private:
  std::optional<std::string> Collect(int status, bool statusKnown);

  pid_t child_ = -1;
  int reasonPipe_ = -1;  // the read end of the pipe the child writes its failure to
};

}  // namespace mirasketch
