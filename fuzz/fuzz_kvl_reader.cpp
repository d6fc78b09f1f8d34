// Feeds arbitrary bytes to the layer-project file reader, in a studio as the program starts.

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/files.h"
#include "platform/io_error.h"
#include "platform/message_sink.h"
#include "project/kvl_file.h"
#include "shell/studio.h"

namespace {

class QuietMessages : public mirasketch::MessageSink {
 public:
  void ShowMessage(const std::string&) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  QuietMessages messages;
  mirasketch::Studio studio(messages);
  studio.project.InitLayers();
  mirasketch::InFile file(data, size, "fuzz.kvl");
  try {
    mirasketch::ReadProjectFrom(studio.project, file);
  } catch (const mirasketch::IoError&) {
  }
  return 0;
}
