#include "replay_platform.h"

#include <algorithm>
#include <iostream>

#include "painting/canvas_window.h"
#include "project/size_dialog.h"
#include "shell/dialogs.h"

namespace mirasketch::cli {

ReplayPlatform::ReplayPlatform() : HeadlessPlatform(&std::cerr) {}

void ReplayPlatform::ShowMessage(const std::string& text) {
  ++shownMessages;
  HeadlessPlatform::ShowMessage(text);
}

std::optional<DialogAnswer> DialogAnswers::Take(AnsweredDialog dialog) {
  using Kind = DialogAnswer::Kind;
  const auto fits = [dialog](const DialogAnswer& answer) {
    switch (dialog) {
      case AnsweredDialog::kQuestion:
        return answer.kind == Kind::kYes || answer.kind == Kind::kNo;
      case AnsweredDialog::kInputBox:
        return answer.kind == Kind::kText || answer.kind == Kind::kCancel;
      case AnsweredDialog::kSizeDialog:
        return answer.kind == Kind::kSize || answer.kind == Kind::kCancel;
      case AnsweredDialog::kFontDialog:
        return answer.kind == Kind::kFont || answer.kind == Kind::kCancel;
      case AnsweredDialog::kFileDialog:
        return answer.kind == Kind::kFile || answer.kind == Kind::kCancel;
      case AnsweredDialog::kSettingsDialog:
        return answer.kind == Kind::kSetting || answer.kind == Kind::kCancel;
    }
    return false;
  };
  const auto found = std::find_if(queue_.begin(), queue_.end(), fits);
  if (found == queue_.end()) return std::nullopt;
  DialogAnswer answer = *found;
  queue_.erase(found);
  return answer;
}

bool ReplayPlatform::AskYesNo(const std::string& text) {
  const std::optional<DialogAnswer> answer = answers.Take(AnsweredDialog::kQuestion);
  const bool yes = !answer || answer->kind == DialogAnswer::Kind::kYes;
  answeredNo += yes ? 0 : 1;
  // Questions are shown with their answer but are not messages: they report no failure.
  HeadlessPlatform::ShowMessage(text + (yes ? " (yes)" : " (no)"));
  return yes;
}

std::optional<std::string> ReplayPlatform::InputBox(const std::string& caption,
                                                    const std::string& prompt, const std::string&) {
  const std::optional<DialogAnswer> answer = answers.Take(AnsweredDialog::kInputBox);
  const bool typed = answer && answer->kind == DialogAnswer::Kind::kText;
  HeadlessPlatform::ShowMessage(caption + ": " + prompt +
                                (typed ? " (\"" + answer->text + "\")" : " (cancel)"));
  if (!typed) return std::nullopt;
  return answer->text;
}

std::optional<std::string> ReplayPlatform::ChooseOpenFile(const FileDialogRequest&) {
  if (fileAnswer) return std::exchange(fileAnswer, std::nullopt);
  // A file dialog of a command (not of the script's own `open`) takes a queued `answer file`.
  const std::optional<DialogAnswer> answer = answers.Take(AnsweredDialog::kFileDialog);
  if (!answer || answer->kind != DialogAnswer::Kind::kFile) return std::nullopt;
  return answer->text;
}

std::optional<FontChoice> ReplayPlatform::ChooseFont(const FontChoice& initial) {
  const std::optional<DialogAnswer> answer = answers.Take(AnsweredDialog::kFontDialog);
  if (!answer || answer->kind != DialogAnswer::Kind::kFont) return std::nullopt;
  FontChoice font = initial;
  font.family = answer->text;
  font.pixelHeight = answer->width;
  font.bold = answer->bold;
  font.italic = false;
  return font;
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
  std::optional<std::pair<int, int>> size = std::exchange(sizeAnswer, std::nullopt);
  if (!size) {
    const std::optional<DialogAnswer> answer = answers_.Take(AnsweredDialog::kSizeDialog);
    if (answer && answer->kind == DialogAnswer::Kind::kSize)
      size = std::pair{answer->width, answer->height};
  }
  if (!size) return false;
  dialog.SetValues(size->first, size->second);
  sizeAccepted = dialog.OKBtnClick(messages_);
  return sizeAccepted;
}

bool ReplayViews::RunSettingsDialog(TfrmDlgSetting& dialog) {
  const std::optional<DialogAnswer> answer = answers_.Take(AnsweredDialog::kSettingsDialog);
  if (!answer || answer->kind != DialogAnswer::Kind::kSetting) return false;
  dialog.edtUndoCount = answer->text;
  dialog.edtJPGSave = answer->second;
  return true;
}

bool ReplayViews::SaveClientArea(const std::string& path) const {
  const CanvasViewState& view = canvas_->view;
  CDibTrue area;
  if (!area.SetSize(view.clientWidth, view.clientHeight, messages_)) return false;
  for (int y = 0; y < view.clientHeight; ++y)
    for (int x = 0; x < view.clientWidth; ++x) area.SetPixel(x, y, client_.GetPixel(x, y));
  return area.SaveToBmp(path, messages_);
}

}  // namespace mirasketch::cli
