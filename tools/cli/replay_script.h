#pragma once

#include <istream>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace mirasketch::cli {

// The key code the views pass for the Shift key itself.
inline constexpr int kShiftKeyCode = 16777248;

// An answer an `answer` line queues for a dialog still to come.
struct DialogAnswer {
  enum class Kind { kYes, kNo, kText, kSize, kCancel, kFont, kFile, kSetting };
  Kind kind = Kind::kYes;
  std::string text;    // text: the typed text; font: the family; file: the path; setting: UNDO
  std::string second;  // setting: QUALITY
  int width = 0;       // size: the numbers for the two fields; font: the pixel size
  int height = 0;
  bool bold = false;  // font: bold chosen
  int line = 0;       // the script line that queued it
};

// One command of a replay script as its line reads. Names and paths are kept as written; which
// window a control belongs to is decided when the script runs.
struct ReplayStep {
  enum class Kind {
    kNew,         // new W H
    kOpen,        // open PATH
    kSave,        // save PATH
    kClick,       // click NAME
    kSet,         // set NAME VALUE
    kMouseDown,   // mouse down [PAINTBOX] BUTTON X Y [ctrl] [shift]
    kMouseMove,   // mouse move [PAINTBOX] BUTTON X Y [ctrl] [shift]
    kMouseUp,     // mouse up [PAINTBOX] BUTTON X Y [ctrl] [shift]
    kMouseClick,  // mouse click [PAINTBOX] BUTTON X Y [ctrl] [shift]
    kDrop,        // drop NAME SOURCE X Y
    kKeyDown,     // key down KEY [ctrl] [shift]
    kKeyUp,       // key up KEY [ctrl] [shift]
    kAnswer,      // answer yes|no|cancel, text TEXT, size W H, font FAMILY SIZE [bold], file PATH,
                  // setting UNDO QUALITY
    kShow,        // show WINDOW
    kHide,        // hide WINDOW
    kPrint,       // print NAME
    kPaint,       // paint PAINTBOX PATH
    kSeed,        // seed N
    kExit,        // exit
  };
  Kind kind = Kind::kNew;
  int line = 0;  // 1-based line number in the script
  // The control or window name ("spbPen", "TfrmC.spbPen", "TfrmCol") or the file path; empty for
  // a mouse event on the canvas given without a paint-box name.
  std::string name;
  std::string argument;  // set: the value as written; drop: the drag's source paint box; paint:
                         // the file path
  int button = 0;        // 1 left, 2 right, 0 middle
  int x = 0;             // new: the width; mouse and drop: the point in paint-box pixels
  int y = 0;             // new: the height
  int value = 0;         // set: the position (0 when not a number); key: the key code; seed:
                         // the seed
  int shiftState = 0;    // modifier bits of the event: Shift 1, Ctrl 4
  DialogAnswer answer;   // answer: what the dialog that takes it gets
};

// A script line that cannot be carried out: its number and what is wrong with it.
class ReplayError : public std::runtime_error {
 public:
  ReplayError(int line, const std::string& message)
      : std::runtime_error("replay: line " + std::to_string(line) + ": " + message), line_(line) {}
  int Line() const { return line_; }

 private:
  int line_;
};

// A decimal integer written as a whole word ("-3"), or nothing.
std::optional<int> ReadNumber(std::string_view text);
// The error text for a word that should be a number and is not.
std::string MalformedNumber(std::string_view text);

// Reads one line (its end removed): nothing for a blank or comment-only line. `#` starts a
// comment anywhere; tokens are separated by spaces, tabs or a carriage return, except that the
// text of `answer text` is the rest of the line after one blank, its inner blanks kept. Throws
// ReplayError for an unknown command, a wrong number of arguments, a malformed number or an
// unknown word.
std::optional<ReplayStep> ParseReplayLine(std::string_view text, int line);

// Reads every line of a script; throws ReplayError for the first line that cannot be read.
std::vector<ReplayStep> ParseReplayScript(std::istream& in);

}  // namespace mirasketch::cli
