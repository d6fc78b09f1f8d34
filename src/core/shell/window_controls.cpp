#include "shell/window_controls.h"

#include <algorithm>
#include <stdexcept>

namespace mirasketch {

std::string Labelled(std::string_view caption, int value, std::string_view suffix) {
  std::string text(caption);
  text += std::to_string(value);
  text += suffix;
  return text;
}

void PaintBox::Begin(int width, int height) {
  if (image.Width() < width || image.Height() != height) image.Alloc(width, height);
  texts.clear();
}

void PaintBox::Fill(int left, int top, int right, int bottom, int colour) {
  image.FillRect(left, top, right - left, bottom - top, colour);
}

void PaintBox::Frame(int left, int top, int right, int bottom, int colour) {
  Fill(left, top, right, top + 1, colour);
  Fill(left, bottom - 1, right, bottom, colour);
  Fill(left, top, left + 1, bottom, colour);
  Fill(right - 1, top, right, bottom, colour);
}

void PaintBox::Text(int x, int y, std::string text, int colour) {
  texts.push_back({x, y, std::move(text), colour});
}

void PaintBox::PageTabs(int count, int current, int tabWidth, int tabHeight, int textX, int textY) {
  for (int i = 0; i < count; ++i) {
    const int left = tabWidth * i;
    Fill(left, 0, left + tabWidth, tabHeight, i == current ? 0xFFFFFF : 0x808080);
    Text(left + textX, textY, std::to_string(i + 1));
  }
}

ControlSet::ControlSet(std::span<const ControlSpec> specs) : specs_(specs), states_(specs.size()) {
  for (std::size_t i = 0; i < specs.size(); ++i) {
    const ControlSpec& spec = specs[i];
    ControlState& state = states_[i];
    state.caption = spec.caption;
    state.position = spec.kind == ControlKind::kComboBox ? 0 : spec.minimum;
  }
}

int ControlSet::Find(std::string_view name) const {
  for (std::size_t i = 0; i < specs_.size(); ++i)
    if (name == specs_[i].name) return static_cast<int>(i);
  return -1;
}

const ControlSpec& ControlSet::Spec(std::string_view name) const {
  const int i = Find(name);
  if (i < 0) throw std::out_of_range("no control " + std::string(name));
  return specs_[static_cast<std::size_t>(i)];
}

const ControlState& ControlSet::State(std::string_view name) const {
  const int i = Find(name);
  if (i < 0) throw std::out_of_range("no control " + std::string(name));
  return states_[static_cast<std::size_t>(i)];
}

ControlState& ControlSet::Mutable(std::string_view name) {
  return const_cast<ControlState&>(State(name));
}

void ControlSet::SetChecked(std::string_view name, bool checked) {
  const ControlSpec& spec = Spec(name);
  const bool exclusive = spec.kind == ControlKind::kRadio || spec.kind == ControlKind::kSpeedButton;
  if (checked && exclusive) {
    for (std::size_t i = 0; i < specs_.size(); ++i)
      if (specs_[i].kind == spec.kind && std::string_view(specs_[i].parent) == spec.parent)
        states_[i].checked = false;
  }
  Mutable(name).checked = checked;
}

bool ControlSet::SetPosition(std::string_view name, int position) {
  const ControlSpec& spec = Spec(name);
  int clamped = position;
  if (spec.kind == ControlKind::kComboBox) {
    const int items =
        1 + static_cast<int>(std::count(
                spec.caption, spec.caption + std::string_view(spec.caption).size(), '\n'));
    clamped = std::clamp(position, 0, items - 1);
  } else {
    clamped = std::clamp(position, spec.minimum, spec.maximum);
  }
  ControlState& state = Mutable(name);
  if (state.position == clamped) return false;
  state.position = clamped;
  return true;
}

void ControlSet::SetCaption(std::string_view name, std::string caption) {
  Mutable(name).caption = std::move(caption);
}

void ControlSet::SetVisible(std::string_view name, bool visible) {
  Mutable(name).visible = visible;
}

}  // namespace mirasketch
