// Feeds arbitrary bytes to the layer-project file reader, in a studio as the program starts.

#include <cstddef>
#include <cstdint>
#include <string>

#include "buffers/dib_format.h"
#include "platform/files.h"
#include "platform/headless_platform.h"
#include "platform/io_error.h"
#include "platform/views.h"
#include "project/kvl_file.h"
#include "shell/studio.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A header may rightly ask for a canvas of up to 30000 × 30000, which a read then allocates and
  // composes in full; that is working as intended but too large for a fuzzing loop.
  if (size >= 16 &&
      1LL * mirasketch::ReadLe16(data + 12) * mirasketch::ReadLe16(data + 14) > 1 << 22)
    return 0;
  mirasketch::HeadlessPlatform platform;
  mirasketch::NoViews views;
  mirasketch::Studio studio(platform, views);
  studio.project.InitLayers();
  mirasketch::InFile file(data, size, "fuzz.kvl");
  try {
    mirasketch::ReadProjectFrom(studio.project, file);
  } catch (const mirasketch::IoError&) {
  }
  return 0;
}
