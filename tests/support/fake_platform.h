#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "buffers/dib_true.h"
#include "platform/memory_clipboard.h"
#include "platform/platform.h"

namespace mirasketch::test {

// A platform for tests: records every message and question, answers from queues filled by the
// test (an empty queue answers Yes to questions and cancels dialogs), keeps a clipboard and reports
// whatever available memory the test sets.
class FakePlatform : public Platform {
 public:
  void ShowMessage(const std::string& text) override { shown.push_back(text); }
  bool AskYesNo(const std::string& text) override {
    asked.push_back(text);
    if (answers.empty()) return true;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                      const std::string& initial) override {
    inputRequests.push_back({caption, prompt, initial});
    return Next(inputs);
  }
  std::optional<std::string> ChooseOpenFile(const FileDialogRequest& request) override {
    openRequests.push_back(request);
    return Next(openFiles);
  }
  std::optional<std::string> ChooseSaveFile(const FileDialogRequest& request) override {
    saveRequests.push_back(request);
    return Next(saveFiles);
  }
  std::optional<int> ChooseColour(int initial) override {
    colourDialogsOpened.push_back(initial);
    if (colours.empty()) return std::nullopt;
    const std::optional<int> next = colours.front();
    colours.pop_front();
    return next;
  }
  std::optional<FontChoice> ChooseFont(const FontChoice&) override { return std::nullopt; }
  bool ClipboardHasBitmap() override { return clipboard.HasBitmap(); }
  void PutClipboardBitmap(const CDibTrue& picture, int width, int height) override {
    clipboard.Put(picture, width, height);
  }
  bool TakeClipboardBitmap(CDibTrue& target, int extraColumns, int extraRows, int& width,
                           int& height) override {
    return clipboard.Take(target, extraColumns, extraRows, width, height);
  }
  void BeginBusy() override { ++busyDepth; }
  void EndBusy() override { --busyDepth; }
  void ScreenSize(int& width, int& height) override {
    width = screenWidth;
    height = screenHeight;
  }
  void PointerPosition(int& x, int& y) override {
    x = pointerX;
    y = pointerY;
  }
  void ShowHelp(const std::string& helpFile) override { helpShown.push_back(helpFile); }
  std::int64_t ClockMilliseconds() override { return clock; }
  std::int64_t AvailableMemory() override { return availableMemory; }

  std::vector<std::string> shown;
  int screenWidth = 1280;
  int screenHeight = 1024;
  std::vector<std::string> asked;
  std::deque<bool> answers;
  std::deque<std::optional<std::string>> inputs, openFiles, saveFiles;
  std::vector<std::vector<std::string>> inputRequests;  // caption, prompt, initial text
  std::vector<FileDialogRequest> openRequests, saveRequests;
  std::vector<std::string> helpShown;
  std::deque<std::optional<int>> colours;  // colour dialog answers; empty cancels
  std::vector<int> colourDialogsOpened;    // the colour each dialog started from
  MemoryClipboard clipboard;
  int busyDepth = 0;
  int pointerX = 0, pointerY = 0;
  std::int64_t clock = 0;
  std::int64_t availableMemory = std::int64_t{1} << 40;  // plenty, unless a test says otherwise

 private:
  static std::optional<std::string> Next(std::deque<std::optional<std::string>>& queue) {
    if (queue.empty()) return std::nullopt;
    std::optional<std::string> next = queue.front();
    queue.pop_front();
    return next;
  }
};

}  // namespace mirasketch::test
