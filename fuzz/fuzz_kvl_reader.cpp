// Feeds arbitrary bytes to the layer-project file reader, in a studio as the program starts.

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/files.h"
#include "platform/headless_platform.h"
#include "platform/io_error.h"
#include "platform/views.h"
#include "project/kvl_file.h"
#include "shell/studio.h"

namespace {

// A header may rightly ask for a canvas and layers of up to 30000 × 30000, which a read then
// allocates and composes in full; that is working as intended but too large for a fuzzing loop.
// The platform reports only 32 MB free, which the reader must then refuse to exceed.
class FuzzPlatform : public mirasketch::HeadlessPlatform {
 public:
  std::int64_t AvailableMemory() override { return 32 << 20; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzPlatform platform;
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
