#pragma once

#include <iostream>

#include "platform/headless_platform.h"
#include "platform/views.h"
#include "shell/studio.h"

namespace mirasketch::cli {

// A studio started as the program starts, without windows, its messages on standard error.
struct HeadlessStudio {
  HeadlessStudio() : studio(platform, views) { studio.StartUp(); }
  HeadlessPlatform platform{&std::cerr};
  NoViews views;
  Studio studio;
};

}  // namespace mirasketch::cli
