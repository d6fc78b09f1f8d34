#pragma once

#include <gtest/gtest.h>

#include "platform/views.h"
#include "shell/studio.h"
#include "support/fake_platform.h"

namespace mirasketch::test {

// Views for tests: counts what core reported and answers the size dialog from a script of field
// texts (each entry one press of OK; an exhausted script cancels the dialog).
class RecordingViews : public NoViews {
 public:
  void WindowChanged(WindowId window) override { changed.push_back(window); }
  void ShowWindow(WindowId window, bool visible) override {
    shownWindows.emplace_back(window, visible);
  }
  void CanvasPainted() override { ++painted; }
  void Quit() override { quit = true; }
  bool RunSizeDialog(TfrmDlgSize& dialog) override;

  std::vector<WindowId> changed;
  std::vector<std::pair<WindowId, bool>> shownWindows;
  std::deque<std::pair<std::string, std::string>> sizeEntries;
  std::vector<std::pair<std::string, std::string>> sizeDialogShown;  // fields when it opened
  MessageSink* dialogMessages = nullptr;
  int painted = 0;
  bool quit = false;
};

// A fresh studio as the program has it after start-up: one white 256 × 256 layer, layer 0
// active; its messages are recorded by the fake platform.
class StudioTest : public ::testing::Test {
 protected:
  StudioTest() {
    views.dialogMessages = &platform;
    project.InitLayers();
  }

  FakePlatform platform;
  RecordingViews views;
  Studio studio{platform, views};
  LayerProject& project = studio.project;
  std::vector<std::string>& messages = platform.shown;
};

}  // namespace mirasketch::test
