#pragma once

#include <string>

namespace mirasketch::cli {

// This program's folder with a trailing separator, where its data files (brush.bmp) lie beside
// it; empty, the working folder, when the system does not say.
std::string ProgramDir();

}  // namespace mirasketch::cli
