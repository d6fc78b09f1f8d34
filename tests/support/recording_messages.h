#pragma once

#include <string>
#include <vector>

#include "platform/message_sink.h"

namespace mirasketch::test {

// A message sink that keeps every message, in order, for the test to inspect.
class RecordingMessages : public MessageSink {
 public:
  void ShowMessage(const std::string& text) override { shown.push_back(text); }
  std::vector<std::string> shown;
};

}  // namespace mirasketch::test
