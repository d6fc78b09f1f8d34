#pragma once

#include <iostream>
#include <string>

#include "platform/message_sink.h"

namespace mirasketch::cli {

// The headless tool's message box: one message per line on standard error.
class StderrMessages : public MessageSink {
 public:
  void ShowMessage(const std::string& text) override { std::cerr << text << '\n'; }
};

}  // namespace mirasketch::cli
