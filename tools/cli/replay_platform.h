#pragma once

#include <optional>
#include <string>
#include <utility>

#include "buffers/dib_surface.h"
#include "buffers/dib_true.h"
#include "platform/headless_platform.h"
#include "platform/views.h"
#include "project/canvas_view_state.h"

namespace mirasketch {
class TfrmM;
}  // namespace mirasketch

namespace mirasketch::cli {

// The screen of a replay: the largest client area the canvas window gets, and how far beyond a
// paint box a pointer event can lie.
inline constexpr int kScreenWidth = 1280;
inline constexpr int kScreenHeight = 1024;

// The platform of a replay: messages go to standard error; every question is answered Yes (the
// script asked for the command that raised it) and shown with "(yes)"; the open and save dialogs
// answer with `fileAnswer` once, when it is set; every other dialog is cancelled.
class ReplayPlatform : public HeadlessPlatform {
 public:
  ReplayPlatform();
  void ShowMessage(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  std::optional<std::string> ChooseOpenFile(const FileDialogRequest& request) override;
  std::optional<std::string> ChooseSaveFile(const FileDialogRequest& request) override;

  std::optional<std::string> fileAnswer;
  int shownMessages = 0;  // messages shown so far, questions not counted
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
// area, and the size dialog is answered with `sizeAnswer`, pressing OK once.
class ReplayViews : public NoViews {
 public:
  explicit ReplayViews(MessageSink& messages) : messages_(messages) {}
  // Gives the canvas window its client area and paint-box surface.
  void AttachCanvas(TfrmM& canvas);
  void CanvasGeometryChanged() override;
  // Fills the fields with `sizeAnswer` and presses OK; a refused size (the dialog shows its
  // message) then cancels, as nobody is there to correct it. Without an answer: cancelled.
  bool RunSizeDialog(TfrmDlgSize& dialog) override;

  std::optional<std::pair<int, int>> sizeAnswer;
  bool sizeAccepted = false;  // whether the last size dialog closed with OK

 private:
  MessageSink& messages_;
  TfrmM* canvas_ = nullptr;
  CDibTrue client_;
  std::optional<ClientSurface> surface_;
};

}  // namespace mirasketch::cli
