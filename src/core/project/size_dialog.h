#pragma once

#include <string>

namespace mirasketch {

class MessageSink;

// The size dialog: two text fields for a width and a height, checked when OK is pressed.
class TfrmDlgSize {
 public:
  inline static const char* const kCaption = "大きさを入力してください";

  // Writes both numbers as decimal text into the fields.
  void SetValues(int width, int height);
  // OK pressed: true (the dialog closes with OK and `resultWidth`/`resultHeight` hold the values)
  // when both fields read as sizes within 4 … 30000; otherwise the dialog stays open, with
  // "小さすぎます。" or "大きすぎます。" shown for sizes out of range.
  bool OKBtnClick(MessageSink& messages);

  // The note that widths become multiples of 4; the transform window's size input hides it.
  bool commentVisible = true;
  std::string edtWid = "320";
  std::string edtHei = "320";
  int resultWidth = 0;
  int resultHeight = 0;
};

// Reads a decimal integer as the dialogs do: leading spaces, an optional sign, then digits up to
// the first other character; `wellFormed` is false when no digit was found (the value is then 0).
int ReadLeadingInt(const std::string& text, bool& wellFormed);

}  // namespace mirasketch
