#include "replay_script.h"

#include <charconv>
#include <cstddef>
#include <utility>

namespace mirasketch::cli {
namespace {

using Kind = ReplayStep::Kind;

std::vector<std::string_view> Tokens(std::string_view text) {
  text = text.substr(0, text.find('#'));
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
    const std::string_view text = tokens_[i];
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
      Fail("malformed number '" + std::string(text) + "'");
    return value;
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

ReplayStep ParseMouse(const LineReader& r, ReplayStep step) {
  r.Arguments(1, 7, "mouse down|move|up BUTTON X Y | mouse click NAME BUTTON X Y [ctrl] [shift]");
  const std::string_view action = r.Word(1);
  if (action == "click") {
    r.Arguments(5, 7, "mouse click NAME BUTTON X Y [ctrl] [shift]");
    step.kind = Kind::kMouseClick;
    step.name = r.Word(2);
    step.button = r.Button(3);
    step.x = r.Number(4);
    step.y = r.Number(5);
    step.shiftState = r.Modifiers(6);
    return step;
  }
  if (action == "down")
    step.kind = Kind::kMouseDown;
  else if (action == "move")
    step.kind = Kind::kMouseMove;
  else if (action == "up")
    step.kind = Kind::kMouseUp;
  else
    r.Fail("unknown mouse action '" + std::string(action) + "' (down, move, up or click)");
  r.Arguments(4, 4, "mouse down|move|up BUTTON X Y");
  step.button = r.Button(2);
  step.x = r.Number(3);
  step.y = r.Number(4);
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

std::optional<ReplayStep> ParseReplayLine(std::string_view text, int line) {
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
    step.value = r.Number(2);
  } else if (command == "mouse") {
    return ParseMouse(r, step);
  } else if (command == "drop") {
    r.Arguments(4, 4, "drop NAME SOURCE X Y");
    step.kind = Kind::kDrop;
    step.name = r.Word(1);
    const std::string_view source = r.Word(2);
    if (source == "pbxCol")
      step.value = 1;
    else if (source == "pbxPalette")
      step.value = 0;
    else
      r.Fail("unknown drag source '" + std::string(source) + "' (pbxCol or pbxPalette)");
    step.x = r.Number(3);
    step.y = r.Number(4);
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
