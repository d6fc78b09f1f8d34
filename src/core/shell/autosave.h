#pragma once

#include <cstdint>
#include <string>

#include "platform/forked_write.h"
#include "platform/recovery_folder.h"

namespace mirasketch {

class LayerProject;
class PictureFiles;
class Platform;
class TfrmM;
class ToolEngine;

// How long after a recovery write the next one may start: two minutes.
inline constexpr std::int64_t kAutosaveIntervalMs = 120000;

// Recovery copies of unsaved work. While the project has changes that no file holds, the first
// change that ends two minutes or more after the last write (or the first change at all) starts
// a write of the whole project into this program's copy, in a child process so the user goes on
// drawing; a save, a new or opened project and a confirmed discard remove the copy. At start-up
// the copies of programs that ended without removing theirs are offered back.
class Autosave {
 public:
  Autosave(LayerProject& project, PictureFiles& files, TfrmM& canvas, ToolEngine& tools,
           Platform& platform);
  // Stops a running write; the copy stays for a later start to offer.
  ~Autosave();
  Autosave(const Autosave&) = delete;
  Autosave& operator=(const Autosave&) = delete;

  // Writes copies into `folder` from now on, at most one every `intervalMs`; until this is
  // called (tests, the command-line tool) nothing is written or offered. A folder that cannot
  // be made or locked is reported, and the program goes on without copies.
  void Enable(const std::string& folder, std::int64_t intervalMs);
  bool Enabled() const { return folder_.Claimed(); }
  const RecoveryFolder& Folder() const { return folder_; }

  // A change of the project has ended (a stroke, an undo or a redo): starts a write when the
  // project is modified and has changed since the last copy, no stroke is under way, no write
  // is running, and the interval since the last write began has passed.
  void ChangeEnded();
  // Collects the outcome of a finished write. A failure (a full disk) is reported once, until a
  // write succeeds again; the previous copy stays. The program calls this while idle.
  void Poll();
  // Waits for a running write and collects its outcome.
  void WaitForWrite();
  bool Writing() const { return write_.Running(); }
  // No file is needed to keep the work any more (saved, discarded, replaced): a running write
  // stops and the copy goes.
  void RemoveCopy();

  // At start-up: for each copy left by a program that ended abnormally, newest first, asks
  // whether to open it. Yes opens it as the modified project under the name it had and makes it
  // this program's copy (the others stay for a later start); No removes it. A damaged copy is
  // reported and moved aside.
  void OfferRecovery();

 private:
  bool Restore(const RecoveryFolder::LeftCopy& copy, const std::string& name);
  void Outcome(const std::string& failure);

  LayerProject& project_;
  PictureFiles& files_;
  TfrmM& canvas_;
  ToolEngine& tools_;
  Platform& platform_;
  RecoveryFolder folder_;
  ForkedWrite write_;
  std::int64_t intervalMs_ = kAutosaveIntervalMs;
  bool written_ = false;             // a write has started since the program began
  std::int64_t lastWriteStart_ = 0;  // on the platform's clock
  std::int64_t savedChange_ = -1;    // the canvas's change count the copy holds
  std::int64_t writingChange_ = -1;  // the change count the running write holds
  bool failureReported_ = false;
};

}  // namespace mirasketch
