#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "buffers/dib_true.h"

namespace mirasketch {

// A value label's text: the caption followed by the number in plain decimal ("半径10").
std::string Labelled(std::string_view caption, int value, std::string_view suffix = {});

// The kinds of control a window is built from.
enum class ControlKind {
  kButton,
  kSpeedButton,  // a tool button; buttons with the same parent form one exclusive group
  kToggleButton,
  kCheckBox,
  kRadio,  // radios with the same parent form one exclusive group
  kScrollBar,
  kTrackBar,
  kComboBox,
  kLabel,
  kPaintBox,
  kGroup,
  kPanel,
  kMenuItem,    // an item of the window's menu; its parent is the menu's name
  kUpDown,      // a pair of arrows stepping a position through its range
  kRadioGroup,  // a framed column of radio buttons: its position is the selected item's index
  kEdit,        // a one-line text field: its caption is the text
};

// One control of a window as designed: where it sits inside its parent (empty: the client area),
// its caption (a combo box's or radio group's items separated by '\n'), its range and its Tag.
struct ControlSpec {
  const char* name;
  ControlKind kind;
  const char* parent;
  int left, top, width, height;
  const char* caption;
  int minimum = 0;
  int maximum = 0;
  int largeStep = 1;
  int tag = 0;
};

// What a control shows now.
struct ControlState {
  bool visible = true;
  bool checked = false;  // check box, radio, speed and toggle buttons: down
  int position = 0;      // scroll and track bars: position; combo box, radio group: item index
  std::string caption;   // the caption; an edit field's text
};

// Text a paint box carries over its pixels, drawn by the view in the window's font with its top
// left at (x, y).
struct PaintText {
  int x, y;
  std::string text;
  int colour;  // 0x00BBGGRR
};

// A paint box's picture as core painted it.
struct PaintBox {
  CDibTrue image;
  std::vector<PaintText> texts;
  // Sizes the picture (width rounded up to a multiple of 4) and drops the texts.
  void Begin(int width, int height);
  // Fills a rectangle (left, top inclusive; right, bottom exclusive) clipped to the picture.
  void Fill(int left, int top, int right, int bottom, int colour);
  // A one-pixel frame just inside the rectangle.
  void Frame(int left, int top, int right, int bottom, int colour);
  void Text(int x, int y, std::string text, int colour = 0);
  // A row of page tabs from (0, 0), each `tabWidth` × `tabHeight`: the current one white, the
  // others grey, numbered from 1 at (left + textX, textY).
  void PageTabs(int count, int current, int tabWidth, int tabHeight, int textX, int textY);
};

// The controls of one window: their design and their present state, found by name. Windows keep
// their controls here so that the views and the command-line replay see one state. A control
// whose value belongs to a setting kept elsewhere is bound to that field: it shows the field and
// writes into it, and keeps no value of its own.
class ControlSet {
 public:
  explicit ControlSet(std::span<const ControlSpec> specs);

  // Binds a check box's or button's down state to `field`.
  void Bind(std::string_view name, bool& field);
  // Binds a scroll bar's, track bar's or combo box's position to `field`; a radio button is down
  // while `field` holds its Tag, and going down stores its Tag there.
  void Bind(std::string_view name, std::int32_t& field);
  // Binds a scroll bar's position to `field` × `scale` (rounded), storing position ÷ `scale`.
  void Bind(std::string_view name, float& field, int scale);

  std::span<const ControlSpec> Specs() const { return specs_; }
  // The states in the order of the specs.
  std::span<const ControlState> States() const;
  // The index of a control, −1 when the window has none of that name.
  int Find(std::string_view name) const;
  const ControlSpec& Spec(std::string_view name) const;
  const ControlState& State(std::string_view name) const;
  bool Has(std::string_view name) const { return Find(name) >= 0; }

  bool Checked(std::string_view name) const { return State(name).checked; }
  int Position(std::string_view name) const { return State(name).position; }
  // Sets the down state; a radio or speed button that goes down releases the others of its
  // group.
  void SetChecked(std::string_view name, bool checked);
  // Sets the position clamped to the control's range; true when it changed.
  bool SetPosition(std::string_view name, int position);
  void SetCaption(std::string_view name, std::string caption);
  void SetVisible(std::string_view name, bool visible);

 private:
  // Where a bound control's value lives; all null for a control that keeps its own.
  struct Binding {
    bool* flag = nullptr;
    std::int32_t* number = nullptr;
    float* real = nullptr;
    int scale = 1;
  };
  int IndexOf(std::string_view name) const;
  // Brings the state of control i up to date with its bound field.
  void ReadBound(std::size_t i) const;
  // Stores control i's state into its bound field.
  void WriteBound(std::size_t i);

  std::span<const ControlSpec> specs_;
  mutable std::vector<ControlState> states_;
  std::vector<Binding> bindings_;
};

// A window whose controls the views build from its design and whose events they forward by
// control name; the command-line replay drives it the same way.
class ControlWindow {
 public:
  virtual ~ControlWindow() = default;
  virtual const ControlSet& Controls() const = 0;
  // A click of a button, speed or toggle button, check box (which toggles it) or radio (which
  // selects it). False when the window has no such clickable control.
  virtual bool Click(std::string_view name) = 0;
  // A new position of a scroll bar, track bar, combo box or radio group, with its change event.
  // False when the window has no such control.
  virtual bool Change(std::string_view name, int value) = 0;
  // New text typed into an edit field; false when the window has no such field.
  virtual bool Edit(std::string_view, const std::string&) { return false; }
  // Paints a paint box and gives its picture; null when the window has no such paint box.
  virtual const PaintBox* Paint(std::string_view name) = 0;
  // A press in a paint box at (x, y) with button 1 left, 2 right, 0 middle and the modifier bits
  // of a key event; false when the window has no such paint box.
  virtual bool MouseDown(std::string_view name, int button, int x, int y, int shiftState) = 0;
  // A move and a release in a paint box, as `MouseDown`; false when the window does not take
  // them there.
  virtual bool MouseMove(std::string_view, int, int, int) { return false; }
  virtual bool MouseUp(std::string_view, int, int, int, int) { return false; }
  // Whether a drag that started in paint box `sourceName` of window `sourceWindow` (design names)
  // may be dropped on paint box `name` now.
  virtual bool AcceptsDrop(std::string_view, std::string_view, std::string_view) const {
    return false;
  }
  // The drop of such a drag at (x, y); false when it is not accepted.
  virtual bool Drop(std::string_view, std::string_view, std::string_view, int, int) {
    return false;
  }
};

}  // namespace mirasketch
