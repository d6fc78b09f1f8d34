#pragma once

#include <QStringList>
#include <memory>

#include "platform/platform.h"
#include "qt_convert.h"

namespace mirasketch {

class HelpViewer;

// The program's platform on Qt: message boxes, input box, file, colour and font dialogs, the
// clipboard, the busy cursor, the screen, the pointer, the help viewer, the clock and the system's
// available memory.
class QtPlatform : public Platform {
 public:
  QtPlatform();
  ~QtPlatform() override;
  void ShowMessage(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                      const std::string& initial) override;
  std::optional<std::string> ChooseOpenFile(const FileDialogRequest& request) override;
  std::optional<std::string> ChooseSaveFile(const FileDialogRequest& request) override;
  std::optional<int> ChooseColour(int initial) override;
  std::optional<FontChoice> ChooseFont(const FontChoice& initial) override;
  bool ClipboardHasBitmap() override;
  void PutClipboardBitmap(const CDibTrue& picture, int width, int height) override;
  bool TakeClipboardBitmap(CDibTrue& target, int extraColumns, int extraRows, int& width,
                           int& height) override;
  void BeginBusy() override;
  void EndBusy() override;
  void ScreenSize(int& width, int& height) override;
  void PointerPosition(int& x, int& y) override;
  void ShowHelp(const std::string& helpFile) override;
  std::int64_t ClockMilliseconds() override;
  std::int64_t AvailableMemory() override;

  // How deep the busy cursor is nested now.
  int BusyDepth() const { return busyDepth_; }
  // The help window, once the help was shown.
  HelpViewer* Help() const { return helpViewer_.get(); }

 private:
  std::optional<std::string> RunFileDialog(const FileDialogRequest& request, bool save);

  int busyDepth_ = 0;
  std::unique_ptr<HelpViewer> helpViewer_;
};

// The toolkit-neutral filter list ("text|patterns|text|patterns…", patterns separated by ';') as
// Qt name filters ("text (patterns)", patterns separated by spaces). "*.*" becomes "*", which is
// what "all files" means on this system.
QStringList QtNameFilters(const std::string& filter);

}  // namespace mirasketch
