#include "shell/autosave.h"

#include <ctime>
#include <optional>

#include "painting/canvas_window.h"
#include "painting/tool_engine.h"
#include "platform/io_error.h"
#include "platform/platform.h"
#include "project/kvl_file.h"
#include "project/layer_project.h"
#include "project/picture_file.h"
#include "project/recovery_copy.h"

namespace mirasketch {
namespace {

std::string LocalTime(std::time_t time) {
  std::tm local{};
  localtime_r(&time, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y/%m/%d %H:%M:%S", &local);
  return text;
}

}  // namespace

Autosave::Autosave(LayerProject& project, PictureFiles& files, TfrmM& canvas, ToolEngine& tools,
                   Platform& platform)
    : project_(project), files_(files), canvas_(canvas), tools_(tools), platform_(platform) {}

Autosave::~Autosave() {
  if (!write_.Running()) return;
  write_.Cancel();
  folder_.RemoveOwnTemporaries();
}

void Autosave::Enable(const std::string& folder, std::int64_t intervalMs) {
  intervalMs_ = intervalMs;
  std::string error;
  if (!folder_.Claim(folder, error))
    platform_.ShowMessage("回復用のコピーを置くフォルダーが使えないので、自動保存はしません。-" +
                          error);
}

void Autosave::ChangeEnded() {
  Poll();
  if (!Enabled() || !canvas_.modified || canvas_.changeCount == savedChange_ ||
      tools_.strokeActive || write_.Running())
    return;
  const std::int64_t now = platform_.ClockMilliseconds();
  if (written_ && now - lastWriteStart_ < intervalMs_) return;
  // A project no layer-project file can hold (the save reports why) has no copy either.
  if (!ProjectStorageRefusal(project_, folder_.CopyPath()).empty()) return;
  written_ = true;
  lastWriteStart_ = now;
  writingChange_ = canvas_.changeCount;
  const std::string name = project_.projectFileName;
  std::string error;
  if (!write_.Start(
          [&] {
            folder_.CloseLockInChild();
            WriteRecoveryCopy(project_, name, folder_.CopyPath());
          },
          error))
    Outcome(error);
}

void Autosave::Poll() {
  if (std::optional<std::string> outcome = write_.Poll()) Outcome(*outcome);
}

void Autosave::WaitForWrite() {
  if (std::optional<std::string> outcome = write_.Wait()) Outcome(*outcome);
}

void Autosave::Outcome(const std::string& failure) {
  if (failure.empty()) {
    savedChange_ = writingChange_;
    failureReported_ = false;
    return;
  }
  // The previous copy, if any, is still in place; the next change after the interval tries again.
  if (failureReported_) return;
  failureReported_ = true;
  platform_.ShowMessage(
      "回復用のコピーを書き込めませんでした。前のコピーはそのまま残っています。-" + failure);
}

void Autosave::RemoveCopy() {
  if (!Enabled()) return;
  write_.Cancel();
  folder_.RemoveOwnCopy();
  savedChange_ = -1;
}

void Autosave::OfferRecovery() {
  if (!Enabled()) return;
  for (const RecoveryFolder::LeftCopy& copy : folder_.FindLeftCopies()) {
    std::optional<std::string> name;
    try {
      name = RecoveryCopyName(copy.path);
    } catch (const IoError&) {
    }
    if (!name) {
      const std::string aside = folder_.MoveAside(copy);
      platform_.ShowMessage("回復用のコピーが壊れているので開けません。" +
                            (aside.empty() ? std::string() : aside + " に移しました。") + "-" +
                            copy.path);
      continue;
    }
    const std::string shown = name->empty() ? "(New Layer Project)" : *name;
    if (!platform_.AskYesNo("保存されずに終わった作業の回復用のコピーがあります。\n" + shown +
                            "（" + LocalTime(copy.written) + " に書き込み）\n開きますか?")) {
      folder_.Remove(copy);
      continue;
    }
    if (Restore(copy, *name)) break;
  }
  folder_.ReleaseLeftCopies();
}

bool Autosave::Restore(const RecoveryFolder::LeftCopy& copy, const std::string& name) {
  bool opened = false;
  try {
    opened = files_.OpenPictureFileAs(copy.path, name);
  } catch (const IoError& error) {
    platform_.ShowMessage(error.what());
  }
  if (!opened) {
    // The reader has said why; the copy goes aside so that it is not offered again.
    folder_.MoveAside(copy);
    return false;
  }
  // Opening cleared the modified flag and removed this program's copy; the work is unsaved, and
  // the copy it came from becomes this program's copy.
  canvas_.modified = true;
  ++canvas_.changeCount;
  if (folder_.TakeOver(copy)) {
    savedChange_ = canvas_.changeCount;
    written_ = true;
    lastWriteStart_ = platform_.ClockMilliseconds();
  }
  return true;
}

}  // namespace mirasketch
