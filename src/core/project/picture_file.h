#pragma once

#include <string>

namespace mirasketch {

class CDibTM;
class CDibTrue;
class LayerProject;
class Platform;

// Opening and saving by extension (".kvl" whole projects, ".bmp", ".jpg" and ".png" flattened
// pictures), and single pictures to and from files and the clipboard.
class PictureFiles {
 public:
  PictureFiles(LayerProject& project, Platform& platform);

  // Opens a file as the project; on success layer 0 is active, the project is named after the
  // file and the view reset. A missing or unreadable file gets its message and changes nothing.
  bool OpenPictureFile(const std::string& fileName) {
    return OpenPictureFileAs(fileName, fileName);
  }
  // As `OpenPictureFile`, the project then named `projectName` (a recovery copy takes back the
  // name of the work it holds).
  bool OpenPictureFileAs(const std::string& fileName, const std::string& projectName);
  // Saves the project by the extension; on success the project is named after the file.
  bool SavePictureFile(const std::string& fileName);
  // Reads a BMP, JPEG or PNG picture into `target` (width rounded up to a multiple of 4, the added
  // columns white); `width`/`height` receive the picture's own size.
  bool LoadImageFile(const std::string& fileName, CDibTM& target, int& width, int& height);
  // Writes a picture as BMP, JPEG or PNG (24-bit) by the extension.
  bool SaveImageFile(const std::string& fileName, const CDibTrue* source);
  // The clipboard's bitmap into `target`, sized (w + 1) × (h + 1); w, h its own size.
  bool PasteClipboardBitmap(CDibTM& target, int& width, int& height);
  // The top-left width × height of `source` onto the clipboard.
  bool CopyClipboardBitmap(const CDibTrue& source, int width, int height);

  int jpegQuality = 100;

 private:
  LayerProject& project_;
  Platform& platform_;
};

// Whether `ext` (as LowerExtension gives it) names a picture file: ".bmp", ".jpg" or ".png".
bool IsPictureExtension(const std::string& ext);

// The extension of a file name from its last dot, in lower case ("" when there is none).
std::string LowerExtension(const std::string& fileName);

}  // namespace mirasketch
