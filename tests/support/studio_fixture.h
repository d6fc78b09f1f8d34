#pragma once

#include <gtest/gtest.h>

#include "shell/studio.h"
#include "support/recording_messages.h"

namespace mirasketch::test {

// A fresh studio as the program has it after start-up: one white 256 × 256 layer, layer 0
// active; its messages are recorded.
class StudioTest : public ::testing::Test {
 protected:
  StudioTest() { project.InitLayers(); }

  RecordingMessages messages;
  Studio studio{messages};
  LayerProject& project = studio.project;
};

}  // namespace mirasketch::test
