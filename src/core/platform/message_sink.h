#pragma once

#include <string>

namespace mirasketch {

// Where the modules send the messages a user must see. The windowing platform shows each one in a
// plain modal message box; the command-line tool prints it; tests record it. Lower modules take a
// sink as an argument instead of reaching for a global, so they stay free of the shell.
class MessageSink {
 public:
  virtual ~MessageSink() = default;
  // Shows `text` (UTF-8) to the user and returns once it has been acknowledged.
  virtual void ShowMessage(const std::string& text) = 0;
};

// A sink that drops every message, for batch work (benchmarks, fuzzing) where nobody reads them.
class SilentMessages : public MessageSink {
 public:
  void ShowMessage(const std::string&) override {}
};

}  // namespace mirasketch
