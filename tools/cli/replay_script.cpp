#include "replay_script.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <utility>

namespace mirasketch::cli {
namespace {

using Kind = ReplayStep::Kind;

// The words of a line whose comment is already cut off.
std::vector<std::string_view> Tokens(std::string_view text) {
  std::vector<std::string_view> tokens;
  constexpr std::string_view kBlanks = " \t\r";
  std::size_t start = text.find_first_not_of(kBlanks);
  while (start != std::string_view::npos) {
    const std::size_t end = text.find_first_of(kBlanks, start);
    tokens.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
    start = end == std::string_view::npos ? end : text.find_first_not_of(kBlanks, end);
  }
  return tokens;
}

// The tokens of one line with the reading helpers that name the line in their errors.
class LineReader {
 public:
  LineReader(std::vector<std::string_view> tokens, int line)
      : tokens_(std::move(tokens)), line_(line) {}

  [[noreturn]] void Fail(const std::string& message) const { throw ReplayError(line_, message); }

  std::string_view Command() const { return tokens_[0]; }
  // Requires between `least` and `most` arguments after the command word.
  void Arguments(std::size_t least, std::size_t most, const char* synopsis) const {
    const std::size_t n = tokens_.size() - 1;
    if (n < least || n > most) Fail("usage: " + std::string(synopsis));
  }
  std::string_view Word(std::size_t i) const { return tokens_[i]; }
  std::size_t Count() const { return tokens_.size(); }

  int Number(std::size_t i) const {
    const std::optional<int> value = ReadNumber(tokens_[i]);
    if (!value) Fail(MalformedNumber(tokens_[i]));
    return *value;
  }
  int Button(std::size_t i) const {
    const int button = Number(i);
    if (button < 0 || button > 2)
      Fail("button " + std::to_string(button) + " is not 1 (left), 2 (right) or 0 (middle)");
    return button;
  }
  // The modifier words from token `first` on: "ctrl" and "shift", each at most once.
  int Modifiers(std::size_t first) const {
    int state = 0;
    for (std::size_t i = first; i < tokens_.size(); ++i) {
      const int bit = tokens_[i] == "shift" ? 1 : tokens_[i] == "ctrl" ? 4 : 0;
      if (bit == 0) Fail("unknown modifier '" + std::string(tokens_[i]) + "' (ctrl or shift)");
      if ((state & bit) != 0) Fail("modifier '" + std::string(tokens_[i]) + "' given twice");
      state |= bit;
    }
    return state;
  }

 private:
  std::vector<std::string_view> tokens_;
  int line_;
};

// A name starts with a letter; a number with a digit or a sign.
bool IsName(std::string_view word) {
  return !word.empty() &&
         ((word[0] >= 'A' && word[0] <= 'Z') || (word[0] >= 'a' && word[0] <= 'z'));
}

ReplayStep ParseMouse(const LineReader& r, ReplayStep step) {
  constexpr const char* kCanvasUsage = "mouse down|move|up|click BUTTON X Y";
  constexpr const char* kPaintBoxUsage =
      "mouse down|move|up|click [WINDOW.]PAINTBOX BUTTON X Y [ctrl] [shift]";
  if (r.Count() < 3)
    r.Fail("usage: " + std::string(kCanvasUsage) + " | " + std::string(kPaintBoxUsage));
  const std::string_view action = r.Word(1);
  if (action == "down")
    step.kind = Kind::kMouseDown;
  else if (action == "move")
    step.kind = Kind::kMouseMove;
  else if (action == "up")
    step.kind = Kind::kMouseUp;
  else if (action == "click")
    step.kind = Kind::kMouseClick;
  else
    r.Fail("unknown mouse action '" + std::string(action) + "' (down, move, up or click)");
  std::size_t first = 2;
  if (IsName(r.Word(2))) {
    r.Arguments(5, 7, kPaintBoxUsage);
    step.name = r.Word(2);
    first = 3;
    step.shiftState = r.Modifiers(6);
  } else {
    r.Arguments(4, 4, kCanvasUsage);
  }
  step.button = r.Button(first);
  step.x = r.Number(first + 1);
  step.y = r.Number(first + 2);
  return step;
}

// `text` is the line without its comment; the typed text of `answer text` starts after the one
// blank that follows the word.
ReplayStep ParseAnswer(const LineReader& r, std::string_view text, ReplayStep step) {
  if (r.Count() < 2)
    r.Fail(
        "usage: answer yes|no|cancel | answer text TEXT | answer size W H | answer font FAMILY "
        "SIZE [bold] | answer file PATH | answer setting UNDO QUALITY");
  step.kind = Kind::kAnswer;
  step.answer.line = step.line;
  const std::string_view what = r.Word(1);
  using Answer = DialogAnswer::Kind;
  if (what == "text") {
    step.answer.kind = Answer::kText;
    std::size_t start = static_cast<std::size_t>(what.data() + what.size() - text.data());
    if (start < text.size()) ++start;  // the blank after the word
    std::string_view typed = text.substr(std::min(start, text.size()));
    typed = typed.substr(0, typed.find_last_not_of(" \t\r") + 1);
    step.answer.text = typed;
  } else if (what == "size") {
    r.Arguments(3, 3, "answer size W H");
    step.answer.kind = Answer::kSize;
    step.answer.width = r.Number(2);
    step.answer.height = r.Number(3);
  } else if (what == "font") {
    r.Arguments(3, 4, "answer font FAMILY SIZE [bold]");
    step.answer.kind = Answer::kFont;
    step.answer.text = r.Word(2);
    step.answer.width = r.Number(3);
    if (r.Count() == 5) {
      if (r.Word(4) != "bold") r.Fail("unknown word '" + std::string(r.Word(4)) + "' (bold)");
      step.answer.bold = true;
    }
  } else if (what == "file") {
    r.Arguments(2, 2, "answer file PATH");
    step.answer.kind = Answer::kFile;
    step.answer.text = r.Word(2);
  } else if (what == "setting") {
    r.Arguments(3, 3, "answer setting UNDO QUALITY");
    step.answer.kind = Answer::kSetting;
    step.answer.text = r.Word(2);
    step.answer.second = r.Word(3);
  } else if (what == "yes" || what == "no" || what == "cancel") {
    r.Arguments(1, 1, "answer yes|no|cancel");
    step.answer.kind = what == "yes" ? Answer::kYes : what == "no" ? Answer::kNo : Answer::kCancel;
  } else {
    r.Fail("unknown answer '" + std::string(what) +
           "' (yes, no, text, size, font, file, setting or cancel)");
  }
  return step;
}

ReplayStep ParseKey(const LineReader& r, ReplayStep step) {
  r.Arguments(2, 4, "key down|up KEY [ctrl] [shift]");
  const std::string_view action = r.Word(1);
  if (action == "down")
    step.kind = Kind::kKeyDown;
  else if (action == "up")
    step.kind = Kind::kKeyUp;
  else
    r.Fail("unknown key action '" + std::string(action) + "' (down or up)");
  const std::string_view key = r.Word(2);
  step.shiftState = r.Modifiers(3);
  if (key == "shift") {
    step.value = kShiftKeyCode;
    step.shiftState |= 1;
  } else if (key.size() == 1 &&
             ((key[0] >= 'A' && key[0] <= 'Z') || (key[0] >= 'a' && key[0] <= 'z'))) {
    step.value = key[0] >= 'a' ? key[0] - 'a' + 'A' : key[0];
  } else {
    r.Fail("unknown key '" + std::string(key) + "' (a letter or shift)");
  }
  return step;
}

}  // namespace

std::optional<int> ReadNumber(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string MalformedNumber(std::string_view text) {
  return "malformed number '" + std::string(text) + "'";
}

std::optional<ReplayStep> ParseReplayLine(std::string_view text, int line) {
  text = text.substr(0, text.find('#'));
  const LineReader r(Tokens(text), line);
  if (r.Count() == 0) return std::nullopt;
  ReplayStep step;
  step.line = line;
  const std::string_view command = r.Command();
  if (command == "new") {
    r.Arguments(2, 2, "new W H");
    step.kind = Kind::kNew;
    step.x = r.Number(1);
    step.y = r.Number(2);
  } else if (command == "open" || command == "save") {
    r.Arguments(1, 1, command == "open" ? "open PATH" : "save PATH");
    step.kind = command == "open" ? Kind::kOpen : Kind::kSave;
    step.name = r.Word(1);
  } else if (command == "click") {
    r.Arguments(1, 1, "click NAME");
    step.kind = Kind::kClick;
    step.name = r.Word(1);
  } else if (command == "set") {
    r.Arguments(2, 2, "set NAME VALUE");
    step.kind = Kind::kSet;
    step.name = r.Word(1);
    // An edit field takes the word as its text; other controls need a number, which is checked
    // once the control is known.
    step.argument = r.Word(2);
    step.value = ReadNumber(step.argument).value_or(0);
  } else if (command == "mouse") {
    return ParseMouse(r, step);
  } else if (command == "drop") {
    r.Arguments(4, 4, "drop [WINDOW.]NAME [WINDOW.]SOURCE X Y");
    step.kind = Kind::kDrop;
    step.name = r.Word(1);
    step.argument = r.Word(2);
    step.x = r.Number(3);
    step.y = r.Number(4);
  } else if (command == "answer") {
    return ParseAnswer(r, text, step);
  } else if (command == "show" || command == "hide") {
    r.Arguments(1, 1, command == "show" ? "show WINDOW" : "hide WINDOW");
    step.kind = command == "show" ? Kind::kShow : Kind::kHide;
    step.name = r.Word(1);
  } else if (command == "print") {
    r.Arguments(1, 1, "print [WINDOW.]NAME | print WINDOW");
    step.kind = Kind::kPrint;
    step.name = r.Word(1);
  } else if (command == "paint") {
    r.Arguments(2, 2, "paint [WINDOW.]PAINTBOX PATH");
    step.kind = Kind::kPaint;
    step.name = r.Word(1);
    step.argument = r.Word(2);
  } else if (command == "seed") {
    r.Arguments(1, 1, "seed N");
    step.kind = Kind::kSeed;
    step.value = r.Number(1);
    if (step.value < 0) r.Fail("seed " + std::to_string(step.value) + " is below 0");
  } else if (command == "exit") {
    r.Arguments(0, 0, "exit");
    step.kind = Kind::kExit;
  } else if (command == "key") {
    return ParseKey(r, step);
  } else {
    r.Fail("unknown command '" + std::string(command) + "'");
  }
  return step;
}

std::vector<ReplayStep> ParseReplayScript(std::istream& in) {
  std::vector<ReplayStep> steps;
  std::string text;
  for (int line = 1; std::getline(in, text); ++line) {
    if (std::optional<ReplayStep> step = ParseReplayLine(text, line)) steps.push_back(*step);
  }
  return steps;
}

}  // namespace mirasketch::cli
