#pragma once

#include <stdexcept>
#include <string>

namespace mirasketch {

// An input/output failure (cannot create, read or write a file, disk full). It is not handled
// where it happens: it travels up to the program's general error display, which shows `what()`.
class IoError : public std::runtime_error {
 public:
  explicit IoError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace mirasketch
