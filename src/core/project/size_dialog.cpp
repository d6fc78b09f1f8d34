#include "project/size_dialog.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <string>

#include "buffers/dib_format.h"
#include "platform/message_sink.h"

namespace mirasketch {

int ReadLeadingInt(const std::string& text, bool& wellFormed) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long long value = 0;
  const std::size_t firstDigit = i;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
    value = std::min<long long>(value * 10 + (text[i] - '0'), INT_MAX);
  wellFormed = i > firstDigit;
  return static_cast<int>(negative ? -value : value);
}

void TfrmDlgSize::SetValues(int width, int height) {
  edtWid = std::to_string(width);
  edtHei = std::to_string(height);
}

bool TfrmDlgSize::OKBtnClick(MessageSink& messages) {
  bool widthRead = false;
  bool heightRead = false;
  const int width = ReadLeadingInt(edtWid, widthRead);
  const int height = ReadLeadingInt(edtHei, heightRead);
  if (!widthRead && !heightRead) return false;
  if (width < kMinDibSide || height < kMinDibSide) {
    messages.ShowMessage("小さすぎます。");
    return false;
  }
  if (width > kMaxDibSide || height > kMaxDibSide) {
    messages.ShowMessage("大きすぎます。");
    return false;
  }
  resultWidth = width;
  resultHeight = height;
  return true;
}

}  // namespace mirasketch
