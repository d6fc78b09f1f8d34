#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/message_sink.h"

namespace mirasketch {

class CDibTrue;

// The file dialogs' filter list in the toolkit-neutral "text|patterns|text|patterns…" form. PNG
// pictures have their own entry at the end, after the original five.
inline constexpr const char* kProjectFileFilter =
    "kvlファイル|*.kvl|使用可能な画像|*.bmp;*.jpg|ビットマップファイル|*.bmp|"
    "ジェイペグファイル|*.jpg|すべてのﾌｧｲﾙ|*.*|PNGファイル|*.png";

// What a file dialog is asked to show.
struct FileDialogRequest {
  std::string filter = kProjectFileFilter;  // "text|patterns|…", first pair selected
  std::string defaultExtension = "kvl";     // appended to a typed name that has none
  std::string initialFolder;                // empty: the toolkit's choice
};

// A font chosen in the font dialog.
struct FontChoice {
  std::string family;
  int pixelHeight = 12;
  bool bold = false;
  bool italic = false;
};

// Everything the program needs from a windowing toolkit. The Qt shell implements it; tests use a
// fake that records messages and answers from a script; the command-line tool prints messages and
// answers every question with its default.
class Platform : public MessageSink {
 public:
  // Asks a Yes/No question; true for Yes.
  virtual bool AskYesNo(const std::string& text) = 0;
  // A one-line input box; nothing when cancelled.
  virtual std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                              const std::string& initial) = 0;
  // The open and save dialogs; nothing when cancelled. The save dialog does not itself ask about
  // overwriting: the program asks its own question.
  virtual std::optional<std::string> ChooseOpenFile(const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> ChooseSaveFile(const FileDialogRequest& request) = 0;
  // The colour chooser, starting from and returning 0x00BBGGRR; nothing when cancelled.
  virtual std::optional<int> ChooseColour(int initial) = 0;
  virtual std::optional<FontChoice> ChooseFont(const FontChoice& initial) = 0;
  // The clipboard's bitmap: whether there is one, put a picture's top-left w × h on it, and take
  // it into a picture (sized by the caller's rule) reporting its own size.
  virtual bool ClipboardHasBitmap() = 0;
  virtual void PutClipboardBitmap(const CDibTrue& picture, int width, int height) = 0;
  // Fills `target` (sized (w + extraColumns) × (h + extraRows) with Alloc; uncovered parts white)
  // and reports the clipboard bitmap's own size; false when there is no bitmap or it cannot be
  // sized. The size is reported whenever the bitmap could be read, even when `target` refused it.
  virtual bool TakeClipboardBitmap(CDibTrue& target, int extraColumns, int extraRows, int& width,
                                   int& height) = 0;
  // The hourglass cursor, nested: each Begin needs its End.
  virtual void BeginBusy() = 0;
  virtual void EndBusy() = 0;
  virtual void ScreenSize(int& width, int& height) = 0;
  // The pointer position in screen pixels.
  virtual void PointerPosition(int& x, int& y) = 0;
  // Opens the help viewer on a help file's contents; reports a missing file itself.
  virtual void ShowHelp(const std::string& helpFile) = 0;
  // Milliseconds from an arbitrary start, for seeding and timing.
  virtual std::int64_t ClockMilliseconds() = 0;
  // The bytes of memory the system has available now (see system_memory.h), against which every
  // large buffer is checked before it is sized.
  virtual std::int64_t AvailableMemory() = 0;
};

// Shows the hourglass cursor for the lifetime of the object.
class BusyCursor {
 public:
  explicit BusyCursor(Platform& platform) : platform_(platform) { platform_.BeginBusy(); }
  ~BusyCursor() { platform_.EndBusy(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

 private:
  Platform& platform_;
};

}  // namespace mirasketch
