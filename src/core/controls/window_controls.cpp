#include "controls/window_controls.h"

#include <algorithm>
#include <cmath>
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

ControlSet::ControlSet(std::span<const ControlSpec> specs)
    : specs_(specs), states_(specs.size()), bindings_(specs.size()) {
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

int ControlSet::IndexOf(std::string_view name) const {
  const int i = Find(name);
  if (i < 0) throw std::out_of_range("no control " + std::string(name));
  return i;
}

void ControlSet::Bind(std::string_view name, bool& field) {
  bindings_[static_cast<std::size_t>(IndexOf(name))] = Binding{&field, nullptr, nullptr, 1};
}

void ControlSet::Bind(std::string_view name, std::int32_t& field) {
  bindings_[static_cast<std::size_t>(IndexOf(name))] = Binding{nullptr, &field, nullptr, 1};
}

void ControlSet::Bind(std::string_view name, float& field, int scale) {
  bindings_[static_cast<std::size_t>(IndexOf(name))] =
      Binding{nullptr, nullptr, &field, std::max(scale, 1)};
}

void ControlSet::ReadBound(std::size_t i) const {
  const Binding& b = bindings_[i];
  ControlState& state = states_[i];
  if (b.flag != nullptr) {
    state.checked = *b.flag;
  } else if (b.number != nullptr) {
    if (specs_[i].kind == ControlKind::kRadio)
      state.checked = *b.number == specs_[i].tag;
    else
      state.position = *b.number;
  } else if (b.real != nullptr) {
    state.position = static_cast<int>(std::lround(*b.real * static_cast<float>(b.scale)));
  }
}

void ControlSet::WriteBound(std::size_t i) {
  const Binding& b = bindings_[i];
  const ControlState& state = states_[i];
  if (b.flag != nullptr) {
    *b.flag = state.checked;
  } else if (b.number != nullptr) {
    if (specs_[i].kind != ControlKind::kRadio)
      *b.number = state.position;
    else if (state.checked)
      *b.number = specs_[i].tag;
  } else if (b.real != nullptr) {
    *b.real = static_cast<float>(state.position) / static_cast<float>(b.scale);
  }
}

std::span<const ControlState> ControlSet::States() const {
  for (std::size_t i = 0; i < states_.size(); ++i) ReadBound(i);
  return states_;
}

const ControlSpec& ControlSet::Spec(std::string_view name) const {
  return specs_[static_cast<std::size_t>(IndexOf(name))];
}

const ControlState& ControlSet::State(std::string_view name) const {
  const auto i = static_cast<std::size_t>(IndexOf(name));
  ReadBound(i);
  return states_[i];
}

void ControlSet::SetChecked(std::string_view name, bool checked) {
  const auto index = static_cast<std::size_t>(IndexOf(name));
  const ControlSpec& spec = specs_[index];
  const bool exclusive = spec.kind == ControlKind::kRadio || spec.kind == ControlKind::kSpeedButton;
  if (checked && exclusive) {
    for (std::size_t i = 0; i < specs_.size(); ++i)
      if (specs_[i].kind == spec.kind && std::string_view(specs_[i].parent) == spec.parent)
        states_[i].checked = false;
  }
  states_[index].checked = checked;
  WriteBound(index);
}

bool ControlSet::SetPosition(std::string_view name, int position) {
  const auto index = static_cast<std::size_t>(IndexOf(name));
  const ControlSpec& spec = specs_[index];
  int clamped = position;
  if (spec.kind == ControlKind::kComboBox || spec.kind == ControlKind::kRadioGroup) {
    const int items =
        1 + static_cast<int>(std::count(
                spec.caption, spec.caption + std::string_view(spec.caption).size(), '\n'));
    clamped = std::clamp(position, 0, items - 1);
  } else {
    clamped = std::clamp(position, spec.minimum, spec.maximum);
  }
  ReadBound(index);
  ControlState& state = states_[index];
  if (state.position == clamped) return false;
  state.position = clamped;
  WriteBound(index);
  return true;
}

void ControlSet::SetCaption(std::string_view name, std::string caption) {
  states_[static_cast<std::size_t>(IndexOf(name))].caption = std::move(caption);
}

void ControlSet::SetVisible(std::string_view name, bool visible) {
  states_[static_cast<std::size_t>(IndexOf(name))].visible = visible;
}

}  // namespace mirasketch
