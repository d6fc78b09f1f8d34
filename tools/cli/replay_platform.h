#pragma once

#include <deque>
#include <optional>
#include <string>
#include <utility>

#include "buffers/dib_surface.h"
#include "buffers/dib_true.h"
#include "platform/headless_platform.h"
#include "platform/views.h"
#include "project/canvas_view_state.h"
#include "replay_script.h"

namespace mirasketch {
class TfrmM;
}  // namespace mirasketch

namespace mirasketch::cli {

// The screen of a replay: the largest client area the canvas window gets, and how far beyond a
// paint box a pointer event can lie.
inline constexpr int kScreenWidth = 1280;
inline constexpr int kScreenHeight = 1024;

// The dialogs that take queued answers.
enum class AnsweredDialog {
  kQuestion,
  kInputBox,
  kSizeDialog,
  kFontDialog,
  kFileDialog,
  kSettingsDialog
};

// The answers a script queued, in order, for dialogs still to come.
class DialogAnswers {
 public:
  void Push(const DialogAnswer& answer) { queue_.push_back(answer); }
  // Takes the first queued answer that fits the dialog: yes or no for a question, text or cancel
  // for an input box, size or cancel for the size dialog; nothing when none fits.
  std::optional<DialogAnswer> Take(AnsweredDialog dialog);
  // The answers no dialog has taken, in the order they were queued.
  const std::deque<DialogAnswer>& Left() const { return queue_; }

 private:
  std::deque<DialogAnswer> queue_;
};

// The platform of a replay: messages go to standard error; a question takes the first queued
// yes or no answer, Yes when there is none (the script asked for the command that raised it), and
// is shown with "(yes)" or "(no)"; an input box takes the first queued text or cancel answer and is
// shown with it, cancelled when there is none; the open and save dialogs answer with `fileAnswer`
// once, when it is set; every other dialog is cancelled.
class ReplayPlatform : public HeadlessPlatform {
 public:
  ReplayPlatform();
  void ShowMessage(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                      const std::string& initial) override;
  std::optional<std::string> ChooseOpenFile(const FileDialogRequest& request) override;
  std::optional<std::string> ChooseSaveFile(const FileDialogRequest& request) override;
  std::optional<FontChoice> ChooseFont(const FontChoice& initial) override;

  DialogAnswers answers;
  std::optional<std::string> fileAnswer;
  int shownMessages = 0;  // messages shown so far, questions not counted
  int answeredNo = 0;     // questions answered No so far
};

// The canvas paint box's visible area: paint-box pixels, shifted by the canvas window's scroll
// position, drawn into a buffer the size of the client area.
class ClientSurface : public Surface {
 public:
  ClientSurface(CDibTrue& buffer, const CanvasViewState& view) : target_(buffer), view_(view) {}
  void StretchBits(const DibView& dib, const PixelRect& dst, const PixelRect& src) override;
  void FrameRect(const PixelRect& r) override;
  void Line(int x1, int y1, int x2, int y2) override;

 private:
  PixelRect Shifted(const PixelRect& r) const;
  DibSurface target_;
  const CanvasViewState& view_;
};

// The views of a replay: the canvas window shows the whole paint box up to a screen-sized client
// area, and the size dialog is answered with `sizeAnswer` or else the first queued size or cancel
// answer.
class ReplayViews : public NoViews {
 public:
  ReplayViews(MessageSink& messages, DialogAnswers& answers)
      : messages_(messages), answers_(answers) {}
  // Gives the canvas window its client area and paint-box surface.
  void AttachCanvas(TfrmM& canvas);
  void CanvasGeometryChanged() override;
  // Fills the fields with the answer's numbers and presses OK; a refused size (the dialog shows
  // its message) then cancels, as nobody is there to correct it. Without an answer, or with a
  // cancel answer: cancelled.
  bool RunSizeDialog(TfrmDlgSize& dialog) override;
  // Fills the two fields with the first queued setting answer's words as typed and presses OK;
  // a cancel answer, or none, cancels.
  bool RunSettingsDialog(TfrmDlgSetting& dialog) override;
  // Writes the canvas window's client area as it was last drawn to a 24-bit BMP file (its width
  // rounded up to a multiple of 4, the added columns black); false with the program's message
  // when it cannot, IoError for a file that cannot be written.
  bool SaveClientArea(const std::string& path) const;

  // The answer of the New command's own dialog, taken before any queued one.
  std::optional<std::pair<int, int>> sizeAnswer;
  bool sizeAccepted = false;  // whether the last size dialog closed with OK

 private:
  MessageSink& messages_;
  DialogAnswers& answers_;
  TfrmM* canvas_ = nullptr;
  CDibTrue client_;
  std::optional<ClientSurface> surface_;
};

}  // namespace mirasketch::cli
