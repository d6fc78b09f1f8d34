#pragma once

#include <iostream>

#include "platform/headless_platform.h"
#include "platform/views.h"
#include "program_dir.h"
#include "shell/studio.h"

namespace mirasketch::cli {

// A studio started as the program starts, without windows, its messages on standard error; its
// data files are read from beside this program.
struct HeadlessStudio {
  HeadlessStudio() : studio(platform, views) {
    studio.programDir = ProgramDir();
    studio.StartUp();
  }
  HeadlessPlatform platform{&std::cerr};
  NoViews views;
  Studio studio;
};

}  // namespace mirasketch::cli
