#include "replay_platform.h"

#include <algorithm>
#include <iostream>

#include "painting/canvas_window.h"
#include "project/size_dialog.h"

namespace mirasketch::cli {

ReplayPlatform::ReplayPlatform() : HeadlessPlatform(&std::cerr) {}

void ReplayPlatform::ShowMessage(const std::string& text) {
  ++shownMessages;
  HeadlessPlatform::ShowMessage(text);
}

bool ReplayPlatform::AskYesNo(const std::string& text) {
  HeadlessPlatform::ShowMessage(text + " (yes)");
  return true;
}

std::optional<std::string> ReplayPlatform::ChooseOpenFile(const FileDialogRequest&) {
  return std::exchange(fileAnswer, std::nullopt);
}

std::optional<std::string> ReplayPlatform::ChooseSaveFile(const FileDialogRequest&) {
  return std::exchange(fileAnswer, std::nullopt);
}

PixelRect ClientSurface::Shifted(const PixelRect& r) const {
  return {r.x - view_.scrollX, r.y - view_.scrollY, r.width, r.height};
}

void ClientSurface::StretchBits(const DibView& dib, const PixelRect& dst, const PixelRect& src) {
  target_.StretchBits(dib, Shifted(dst), src);
}

void ClientSurface::FrameRect(const PixelRect& r) {
  target_.FrameRect(Shifted(r));
}

void ClientSurface::Line(int x1, int y1, int x2, int y2) {
  target_.Line(x1 - view_.scrollX, y1 - view_.scrollY, x2 - view_.scrollX, y2 - view_.scrollY);
}

void ReplayViews::AttachCanvas(TfrmM& canvas) {
  canvas_ = &canvas;
  surface_.emplace(client_, canvas.view);
  canvas.paintBox = &*surface_;
  CanvasGeometryChanged();
}

void ReplayViews::CanvasGeometryChanged() {
  if (canvas_ == nullptr) return;
  CanvasViewState& view = canvas_->view;
  view.clientWidth = std::clamp(canvas_->paintBoxWidth, kMinDibSide, kScreenWidth);
  view.clientHeight = std::clamp(canvas_->paintBoxHeight, kMinDibSide, kScreenHeight);
  view.scrollX = std::min(view.scrollX, canvas_->ScrollRangeX());
  view.scrollY = std::min(view.scrollY, canvas_->ScrollRangeY());
  if (client_.Width() < view.clientWidth || client_.Height() != view.clientHeight)
    client_.Alloc(view.clientWidth, view.clientHeight);
}

bool ReplayViews::RunSizeDialog(TfrmDlgSize& dialog) {
  sizeAccepted = false;
  if (!sizeAnswer) return false;
  dialog.SetValues(sizeAnswer->first, sizeAnswer->second);
  sizeAnswer.reset();
  sizeAccepted = dialog.OKBtnClick(messages_);
  return sizeAccepted;
}

}  // namespace mirasketch::cli
