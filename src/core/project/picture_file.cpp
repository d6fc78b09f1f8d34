#include "project/picture_file.h"

#include "buffers/copy_block.h"
#include "buffers/dib_tm.h"
#include "buffers/dib_true.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "project/bmp_import.h"
#include "project/compositor.h"
#include "project/jpeg_codec.h"
#include "project/kvl_file.h"
#include "project/layer_project.h"
#include "project/png_codec.h"
#include "project/project_links.h"

namespace mirasketch {
namespace {

// Suspends the current tool and shows the hourglass for the length of a file operation, and
// resumes both however the operation ends (an input/output error included).
class FileOperation {
 public:
  FileOperation(LayerProject& project, Platform& platform)
      : busy_(platform), tool_(project.Links()) {}

 private:
  BusyCursor busy_;
  ToolSuspension tool_;
};

}  // namespace

std::string LowerExtension(const std::string& fileName) {
  const std::size_t dot = fileName.rfind('.');
  if (dot == std::string::npos) return {};
  std::string ext = fileName.substr(dot);
  for (char& c : ext)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return ext;
}

PictureFiles::PictureFiles(LayerProject& project, Platform& platform)
    : project_(project), platform_(platform) {}

bool IsPictureExtension(const std::string& ext) {
  return ext == ".bmp" || ext == ".jpg" || ext == ".png";
}

bool PictureFiles::LoadImageFile(const std::string& fileName, CDibTM& target, int& width,
                                 int& height) {
  const std::string ext = LowerExtension(fileName);
  bool loaded = false;
  if (IsPictureExtension(ext)) {
    InFile file(fileName);
    const std::int64_t memory = platform_.AvailableMemory();
    const ImportResult result = ext == ".bmp"   ? DecodeBmp(file, target, width, height, memory)
                                : ext == ".jpg" ? DecodeJpeg(file, target, width, height, memory)
                                                : DecodePng(file, target, width, height, memory);
    // A picture beyond the buffer limits or the memory available is refused as sizing the buffer
    // would refuse it.
    if (result == ImportResult::kTooLarge) platform_.ShowMessage(kBitsAllocError);
    loaded = result == ImportResult::kOk;
  } else {
    platform_.ShowMessage("読めません。- " + fileName);
  }
  if (!loaded) platform_.ShowMessage("Fault at LoadFile- " + fileName);
  return loaded;
}

bool PictureFiles::SaveImageFile(const std::string& fileName, const CDibTrue* source) {
  const std::string ext = LowerExtension(fileName);
  bool saved = false;
  if (ext == ".bmp") {
    saved = source != nullptr && source->SaveToBmp(fileName, platform_);
  } else if (ext == ".jpg") {
    saved = source != nullptr && source->Width() > 0 &&
            EncodeJpeg(*source, source->Width(), source->Height(), jpegQuality, fileName);
  } else if (ext == ".png") {
    saved = source != nullptr && source->Width() > 0 &&
            EncodePng(*source, source->Width(), source->Height(), fileName);
  } else {
    platform_.ShowMessage("ファイル名を確認してください。- " + fileName);
  }
  if (!saved) platform_.ShowMessage("Fault at SaveFile- " + fileName);
  return saved;
}

bool PictureFiles::OpenPictureFileAs(const std::string& fileName, const std::string& projectName) {
  FileOperation operation(project_, platform_);
  if (!InFile::Exists(fileName)) {
    platform_.ShowMessage(fileName + "はありません。");
    return false;
  }
  const std::string ext = LowerExtension(fileName);
  bool opened = false;
  if (ext == ".kvl") {
    opened = ReadProjectFile(project_, fileName);
  } else if (IsPictureExtension(ext)) {
    // The picture is read into the tool engine's scratch picture first, so a file that cannot be
    // read, or a project of its size that does not fit in memory (NewProject shows why), leaves
    // the project as it was.
    CDibTM& scratch = project_.Links().WorkLayer();
    int width = 0, height = 0;
    if (LoadImageFile(fileName, scratch, width, height)) {
      opened = project_.NewProject(1, width, height);
      if (opened)
        CopyBlock(project_.Layer(0), 0, 0, scratch, 0, 0, scratch.Width(), scratch.Height());
    } else {
      platform_.ShowMessage("読めません。- " + fileName);
    }
  } else {
    platform_.ShowMessage("読めません。- " + fileName);
  }
  if (opened) {
    project_.SetActiveLayer(0);
    project_.projectFileName = projectName;
    project_.AfterProjectFile();
  }
  return opened;
}

bool PictureFiles::SavePictureFile(const std::string& fileName) {
  FileOperation operation(project_, platform_);
  const std::string ext = LowerExtension(fileName);
  bool saved = false;
  if (ext == ".kvl") {
    saved = WriteProjectFile(project_, fileName);
  } else if (IsPictureExtension(ext)) {
    ComposeRect(project_, 0, 0, project_.CanvasWidth(), project_.CanvasHeight());
    saved = SaveImageFile(fileName, &project_.compositeDib);
  } else {
    platform_.ShowMessage("この拡張子では保存できません。- " + fileName);
  }
  if (saved) {
    project_.projectFileName = fileName;
    project_.AfterProjectFile();
  }
  return saved;
}

bool PictureFiles::PasteClipboardBitmap(CDibTM& target, int& width, int& height) {
  return platform_.ClipboardHasBitmap() &&
         platform_.TakeClipboardBitmap(target, 1, 1, width, height);
}

bool PictureFiles::CopyClipboardBitmap(const CDibTrue& source, int width, int height) {
  platform_.PutClipboardBitmap(source, width, height);
  return true;
}

}  // namespace mirasketch
