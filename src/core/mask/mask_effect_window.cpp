#include "mask/mask_effect_window.h"

#include <cstring>
#include <utility>

#include "buffers/dib256.h"
#include "mask/mask_effects.h"
#include "mask/mask_links.h"
#include "mask/mask_tools.h"
#include "mask/mask_window.h"
#include "platform/platform.h"
#include "platform/uniform_random.h"
#include "platform/views.h"

namespace mirasketch {

namespace {

using K = ControlKind;

constexpr ControlSpec kControls[] = {
    {"cboEffKind", K::kComboBox, "", 16, 0, 134, 20,
     "メルト\n後光\n全体\nその他\nグラデーション\nライト"},
    {"pnlGoEff", K::kPanel, "", 2, 22, 162, 46, ""},
    {"lblGoCount", K::kLabel, "pnlGoEff", 4, 4, 60, 13, "回数1"},
    {"sbGoCount", K::kScrollBar, "pnlGoEff", 4, 22, 100, 17, "", 1, 25, 2},
    {"btnEffGo", K::kButton, "pnlGoEff", 110, 12, 48, 24, "実行"},
    {"pnlMelt", K::kPanel, "", 2, 70, 162, 72, ""},
    {"chkMeltSave255", K::kCheckBox, "pnlMelt", 4, 6, 150, 17, "255は溶かさない"},
    {"pnlAura", K::kPanel, "", 2, 70, 162, 72, ""},
    {"lblAuraDifference", K::kLabel, "pnlAura", 4, 4, 100, 13, "さしぐあい5"},
    {"sbAuraDifference", K::kScrollBar, "pnlAura", 4, 20, 150, 17, "", 1, 128, 1},
    {"chkAuraOld", K::kCheckBox, "pnlAura", 4, 44, 100, 17, "旧ﾓｰﾄﾞ"},
    {"pnlEffAll", K::kPanel, "", 2, 70, 162, 72, ""},
    {"lblAllUpDown", K::kLabel, "pnlEffAll", 4, 4, 150, 13, "回数分、描画強度より"},
    {"rdiEffKoku", K::kRadio, "pnlEffAll", 4, 22, 100, 17, "下を低下"},
    {"rdiEffUsuku", K::kRadio, "pnlEffAll", 4, 44, 100, 17, "上を上昇"},
    {"pnlEffOther", K::kPanel, "", 2, 70, 162, 72, ""},
    {"btnEffSeed", K::kButton, "pnlEffOther", 4, 6, 60, 22, "Seed"},
    {"rdiEffVote", K::kRadio, "pnlEffOther", 80, 6, 70, 17, "Vote"},
    {"rdiEffRug", K::kRadio, "pnlEffOther", 80, 28, 70, 17, "Rug"},
    {"pnlFowPos", K::kPanel, "", 2, 22, 162, 70, ""},
    {"lblFow", K::kLabel, "pnlFowPos", 4, 2, 100, 13, "方向0"},
    {"sbFow", K::kScrollBar, "pnlFowPos", 4, 16, 100, 17, "", 0, 359, 5},
    {"lblDistanceIncline", K::kLabel, "pnlFowPos", 4, 36, 100, 13, "距離勾配100"},
    {"sbDistanceIncline", K::kScrollBar, "pnlFowPos", 4, 50, 100, 17, "", 0, 3000, 10},
    {"btnGoGrad", K::kButton, "pnlFowPos", 110, 8, 48, 24, "実行"},
    {"btnEffCenSet", K::kButton, "pnlFowPos", 110, 40, 48, 24, "位置指定"},
    {"pnlLight", K::kPanel, "", 2, 94, 162, 50, ""},
    {"lblArcIncline", K::kLabel, "pnlLight", 4, 2, 74, 13, "角度勾配10"},
    {"sbArcIncline", K::kScrollBar, "pnlLight", 4, 16, 74, 17, "", 0, 1500, 10},
    {"lblArcDivision", K::kLabel, "pnlLight", 84, 2, 74, 13, "分割数3"},
    {"sbArcDivision", K::kScrollBar, "pnlLight", 84, 16, 74, 17, "", 1, 256, 1},
};

// The panels an effect shows; the others are hidden.
constexpr const char* kPanels[] = {"pnlGoEff",  "pnlFowPos",   "pnlMelt", "pnlAura",
                                   "pnlEffAll", "pnlEffOther", "pnlLight"};

// A scroll bar and the label that shows its position after a caption.
struct LabelledBar {
  const char* bar;
  const char* label;
  const char* caption;
};

constexpr LabelledBar kLabelledBars[] = {
    {"sbGoCount", "lblGoCount", "回数"},
    {"sbAuraDifference", "lblAuraDifference", "さしぐあい"},
    {"sbFow", "lblFow", "方向"},
    {"sbDistanceIncline", "lblDistanceIncline", "距離勾配"},
    {"sbArcIncline", "lblArcIncline", "角度勾配"},
    {"sbArcDivision", "lblArcDivision", "分割数"},
};

// The top-left width × height block of a plane, top row first.
MaskPlane TopLeftBlock(const CDib256& plane, int width, int height) {
  const std::ptrdiff_t stride = plane.Width();
  return {plane.Bits() + static_cast<std::ptrdiff_t>(plane.Height() - 1) * stride, -stride, width,
          height};
}

void CopyPlane(const MaskPlane& from, const MaskPlane& to) {
  for (int y = 0; y < from.height; ++y)
    std::memcpy(to.Row(y), from.Row(y), static_cast<std::size_t>(from.width));
}

}  // namespace

TfrmMaskEff::TfrmMaskEff(MaskTools& tools, TfrmMaskSet& maskWindow, ToolEngine& engine,
                         MaskLinks& links, Platform& platform, UniformRandom& random, Views& views)
    : controls(kControls),
      tools_(tools),
      maskWindow_(maskWindow),
      engine_(engine),
      links_(links),
      platform_(platform),
      random_(random),
      views_(views) {
  // As created: the count and the melt's panels shown, the first effect chosen.
  for (const char* panel : kPanels) controls.SetVisible(panel, false);
  controls.SetVisible("pnlGoEff", true);
  controls.SetVisible("pnlMelt", true);
  controls.SetChecked("chkMeltSave255", true);
  controls.SetPosition("sbAuraDifference", 5);
  controls.SetChecked("rdiEffKoku", true);
  controls.SetChecked("rdiEffVote", true);
  controls.SetPosition("sbDistanceIncline", 100);
  controls.SetPosition("sbArcIncline", 10);
  controls.SetPosition("sbArcDivision", 3);
}

void TfrmMaskEff::Changed() {
  views_.WindowChanged(WindowId::frmMaskEff);
}

bool TfrmMaskEff::Planes(MaskPlane& mask, MaskPlane& scratch) {
  const CDib256* layerMask = tools_.Mask();
  const CDib256& work = engine_.workPlane;
  if (layerMask == nullptr || work.Bits() == nullptr) return false;
  const int width = layerMask->Width(), height = layerMask->Height();
  if (work.Width() < width || work.Height() < height) return false;
  mask = TopLeftBlock(*layerMask, width, height);
  scratch = TopLeftBlock(work, width, height);
  return true;
}

template <typename Pass>
void TfrmMaskEff::RunPasses(int count, bool showEach, Pass&& pass) {
  MaskPlane mask{}, scratch{};
  if (!Planes(mask, scratch)) return;
  if (showEach) {
    for (int i = 0; i < count; ++i) {
      pass(mask, scratch);
      CopyPlane(scratch, mask);
      links_.RedrawCanvasWithMode(2);
    }
    return;
  }
  // The passes alternate between the two planes; the last result is copied into the mask when it
  // lies in the scratch plane.
  MaskPlane from = mask, to = scratch;
  for (int i = 0; i < count; ++i) {
    pass(from, to);
    std::swap(from, to);
  }
  if (from.top != mask.top) CopyPlane(from, mask);
}

void TfrmMaskEff::Gradation() {
  MaskPlane mask{}, scratch{};
  if (!Planes(mask, scratch)) return;
  GradationMask(mask, gradCentre.x, gradCentre.y, controls.Position("sbFow"),
                controls.Position("sbDistanceIncline"));
}

void TfrmMaskEff::Light() {
  MaskPlane mask{}, scratch{};
  if (!Planes(mask, scratch)) return;
  LightMask(mask, lightCentre.x, lightCentre.y, controls.Position("sbFow"),
            controls.Position("sbDistanceIncline"), controls.Position("sbArcIncline"),
            controls.Position("sbArcDivision"));
}

void TfrmMaskEff::RunEffect() {
  const BusyCursor busy(platform_);
  tools_.PushMaskUndo();
  const int count = controls.Position("sbGoCount");
  switch (effectKind) {
    case ekMelt: {
      const bool keep255 = controls.Checked("chkMeltSave255");
      RunPasses(count, false, [keep255](const MaskPlane& from, const MaskPlane& to) {
        MeltPass(from, to, keep255);
      });
      break;
    }
    case ekHalo: {
      const int position = controls.Position("sbAuraDifference");
      if (controls.Checked("chkAuraOld")) {
        const int a = controls.Spec("sbAuraDifference").maximum - position + 1;
        RunPasses(10 * count, false,
                  [a](const MaskPlane& from, const MaskPlane& to) { HaloOldPass(from, to, a); });
      } else {
        RunPasses(count, false, [position](const MaskPlane& from, const MaskPlane& to) {
          HaloPass(from, to, position);
        });
      }
      break;
    }
    case ekWhole: {
      MaskPlane mask{}, scratch{};
      if (Planes(mask, scratch))
        ShiftMaskLevels(mask, count, controls.Checked("rdiEffKoku"), tools_.maskStrength);
      break;
    }
    case ekOther:
      if (controls.Checked("rdiEffVote"))
        RunPasses(count, true,
                  [](const MaskPlane& from, const MaskPlane& to) { VotePass(from, to); });
      else
        RunPasses(count, true,
                  [](const MaskPlane& from, const MaskPlane& to) { RugPass(from, to); });
      break;
    case ekGradation:
      Gradation();
      break;
    case ekLight:
      Light();
      break;
    default:
      break;
  }
  links_.RedrawCanvasWithMode(2);
  engine_.links().RefreshPosition();
}

void TfrmMaskEff::SeedMask() {
  tools_.PushMaskUndo();
  MaskPlane mask{}, scratch{};
  if (Planes(mask, scratch)) {
    for (int y = 0; y < mask.height; ++y) {
      std::uint8_t* p = mask.Row(y);
      for (std::uint8_t* const end = p + mask.width; p != end; ++p)
        if (random_.Uniform() < 0.5) *p = 255;
    }
  }
  links_.RedrawCanvasWithMode(2);
  engine_.links().RefreshPosition();
}

void TfrmMaskEff::MoveEffectCentre(int dx, int dy) {
  if (effectKind == ekGradation) {
    gradCentre.x += dx;
    gradCentre.y += dy;
    Gradation();
  } else if (effectKind == ekLight) {
    lightCentre.x += dx;
    lightCentre.y += dy;
    Light();
  }
  links_.RedrawCanvasWithMode(2);
}

void TfrmMaskEff::cboEffKindChange(int index) {
  controls.SetPosition("cboEffKind", index);
  effectKind = controls.Position("cboEffKind") + 1;
  for (const char* panel : kPanels) controls.SetVisible(panel, false);
  switch (effectKind) {
    case ekMelt:
      controls.SetVisible("pnlMelt", true);
      break;
    case ekHalo:
      controls.SetVisible("pnlAura", true);
      break;
    case ekWhole:
      controls.SetVisible("pnlEffAll", true);
      break;
    case ekOther:
      controls.SetVisible("pnlEffOther", true);
      break;
    case ekLight:
      controls.SetVisible("pnlLight", true);
      break;
    default:
      break;
  }
  if (effectKind <= ekOther)
    controls.SetVisible("pnlGoEff", true);
  else
    controls.SetVisible("pnlFowPos", true);
  Changed();
}

void TfrmMaskEff::btnEffCenSetClick() {
  maskWindow_.EnterCentreDrag();
}

void TfrmMaskEff::FormActivate() {
  visible = true;
  // Showing and focusing the window both activate it; only the first counts.
  if (active) return;
  active = true;
  const int before = engine_.settings.currentTool;
  if (before != tkMask) engine_.links().SelectTool(tkMask);
  // The mask window shown with the tool records the mask tool as its own; the tool to go back to
  // is the one current before this window.
  maskWindow_.toolBeforeMask = before;
  engine_.links().RefreshPosition();
}

void TfrmMaskEff::FormDeactivate() {
  active = false;
}

void TfrmMaskEff::FormHide() {
  if (!visible) return;
  visible = false;
  active = false;
  if (maskWindow_.toolBeforeMask != tkMask) engine_.links().SelectTool(maskWindow_.toolBeforeMask);
  engine_.links().RefreshPosition();
}

bool TfrmMaskEff::Click(std::string_view name) {
  const int index = controls.Find(name);
  if (index < 0) return false;
  const ControlKind kind = controls.Specs()[static_cast<std::size_t>(index)].kind;
  if (kind == ControlKind::kCheckBox) {
    controls.SetChecked(name, !controls.Checked(name));
  } else if (kind == ControlKind::kRadio) {
    controls.SetChecked(name, true);
  } else if (name == "btnEffGo" || name == "btnGoGrad") {
    RunEffect();
  } else if (name == "btnEffSeed") {
    SeedMask();
  } else if (name == "btnEffCenSet") {
    btnEffCenSetClick();
  } else {
    return false;
  }
  Changed();
  return true;
}

bool TfrmMaskEff::Change(std::string_view name, int value) {
  if (name == "cboEffKind") {
    cboEffKindChange(value);
    return true;
  }
  for (const LabelledBar& labelled : kLabelledBars) {
    if (name != labelled.bar) continue;
    controls.SetPosition(name, value);
    controls.SetCaption(labelled.label, Labelled(labelled.caption, controls.Position(name)));
    Changed();
    return true;
  }
  return false;
}

}  // namespace mirasketch
