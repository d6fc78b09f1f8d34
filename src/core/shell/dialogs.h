#pragma once

#include <string>

namespace mirasketch {

class CDibTrue;
class PictureFiles;
class TfrmM;

// The settings dialog ("設定"): the undo levels and the JPEG save quality as typed texts. It keeps
// no state of its own: the fields are filled from the program when it opens and read back at OK.
class TfrmDlgSetting {
 public:
  inline static const char* const kCaption = "設定";

  TfrmDlgSetting(TfrmM& canvas, PictureFiles& files) : canvas_(canvas), files_(files) {}

  // Fills the fields with the undo levels and the quality, in decimal.
  void FormShow();
  // Sets the undo levels from the number `edtUndoCount` begins with (held to 1 … 15, the undo
  // history restarting) and the quality from `edtJPGSave`'s (held to 1 … 100); a text that does
  // not begin with a number counts as 0.
  void OKBtnClick();

  std::string edtUndoCount;
  std::string edtJPGSave;

 private:
  TfrmM& canvas_;
  PictureFiles& files_;
};

// The version dialog ("バージョン情報"): the program's name and version beside its emblem.
struct TdlgVer {
  inline static const char* const kCaption = "バージョン情報";
  inline static const char* const kProductName = "Mirasketch";
  inline static const char* const kVersion = "Version 1.12";
  static constexpr int kEmblemWidth = 112;
  static constexpr int kEmblemHeight = 100;
  // Paints the program's emblem into `picture`, sized to kEmblemWidth × kEmblemHeight: three
  // stacked layer sheets with a pen drawing a stroke across the top one.
  static void PaintEmblem(CDibTrue& picture);
};

}  // namespace mirasketch
