#pragma once

#include <chrono>
#include <ostream>
#include <string>

#include "platform/memory_clipboard.h"
#include "platform/platform.h"
#include "platform/system_memory.h"

namespace mirasketch {

// A platform without windows, for the command-line tool, benchmarks and fuzzing: messages go to
// `messages` one per line (nowhere when it is null); questions are answered No and dialogs
// cancelled, so nothing is overwritten or discarded unasked; the clipboard is kept in memory; there
// is no cursor or help viewer. The available memory is the system's.
class HeadlessPlatform : public Platform {
 public:
  explicit HeadlessPlatform(std::ostream* messages = nullptr) : messages_(messages) {}

  void ShowMessage(const std::string& text) override {
    if (messages_ != nullptr) *messages_ << text << '\n';
  }
  bool AskYesNo(const std::string& text) override {
    ShowMessage(text + " (no)");
    return false;
  }
  std::optional<std::string> InputBox(const std::string&, const std::string&,
                                      const std::string&) override {
    return std::nullopt;
  }
  std::optional<std::string> ChooseOpenFile(const FileDialogRequest&) override {
    return std::nullopt;
  }
  std::optional<std::string> ChooseSaveFile(const FileDialogRequest&) override {
    return std::nullopt;
  }
  std::optional<int> ChooseColour(int) override { return std::nullopt; }
  std::optional<FontChoice> ChooseFont(const FontChoice&) override { return std::nullopt; }
  bool ClipboardHasBitmap() override { return clipboard_.HasBitmap(); }
  void PutClipboardBitmap(const CDibTrue& picture, int width, int height) override {
    clipboard_.Put(picture, width, height);
  }
  bool TakeClipboardBitmap(CDibTrue& target, int extraColumns, int extraRows, int& width,
                           int& height) override {
    return clipboard_.Take(target, extraColumns, extraRows, width, height);
  }
  void BeginBusy() override {}
  void EndBusy() override {}
  void ScreenSize(int& width, int& height) override {
    width = 1280;
    height = 1024;
  }
  void PointerPosition(int& x, int& y) override { x = y = 0; }
  void ShowHelp(const std::string& helpFile) override { ShowMessage("help: " + helpFile); }
  std::int64_t ClockMilliseconds() override {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }
  std::int64_t AvailableMemory() override { return SystemAvailableMemory(); }

 private:
  std::ostream* messages_;
  MemoryClipboard clipboard_;
};

}  // namespace mirasketch
