#include <iostream>

#include "buffers/dib256.h"
#include "commands.h"
#include "headless_studio.h"

namespace mirasketch::cli {

// bmpinfo FILE: loads FILE into a fresh plane and prints "RESULT WIDTH HEIGHT".
int RunBmpInfo(std::span<char* const> args) {
  if (args.size() != 1) {
    std::cerr << "usage: mirasketch-cli bmpinfo FILE\n";
    return 2;
  }
  HeadlessPlatform messages(&std::cerr);
  CDib256 plane;
  const bool loaded = plane.LoadFromBmp(args[0], messages);
  std::cout << (loaded ? "true" : "false") << ' ' << plane.Width() << ' ' << plane.Height() << '\n';
  return 0;
}

}  // namespace mirasketch::cli
