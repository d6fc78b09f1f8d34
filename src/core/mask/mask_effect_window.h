#pragma once

#include <string_view>

#include "controls/window_controls.h"

namespace mirasketch {

class CDib256;
class MaskLinks;
class MaskTools;
class Platform;
class TfrmMaskSet;
class ToolEngine;
class UniformRandom;
class Views;
struct MaskPlane;

// The mask effects, by the item of the effect list (index + 1).
enum MaskEffectKind : int {
  ekMelt = 1,
  ekHalo = 2,
  ekWhole = 3,
  ekOther = 4,
  ekGradation = 5,
  ekLight = 6,
};

// A point in layer coordinates.
struct EffectCentre {
  int x = 128;
  int y = 128;
};

// The mask effect window ("マスク効果"): chooses an effect, shows its controls, runs it on the
// active layer's mask, seeds noise, and starts the canvas drag that moves the centre of the
// gradation and the light. Activating it makes the mask tool current, as the mask window does.
class TfrmMaskEff : public ControlWindow {
 public:
  TfrmMaskEff(MaskTools& tools, TfrmMaskSet& maskWindow, ToolEngine& engine, MaskLinks& links,
              Platform& platform, UniformRandom& random, Views& views);

  // Runs the chosen effect with the controls' settings: one mask undo level, then the canvas
  // shows the mask. Vote and rug show every pass.
  void RunEffect();
  // One mask undo level; every pixel then becomes 255 with probability one half (one number drawn
  // a pixel, rows from the top), the others keep their value.
  void SeedMask();
  // The canvas drag of the centre ended: the gradation's or the light's centre moves by
  // (dx, dy) and its mask is computed again, with no undo level; other effects ignore it.
  void MoveEffectCentre(int dx, int dy);

  // Event handlers.
  void cboEffKindChange(int index);
  void btnEffCenSetClick();
  void FormActivate();
  // The window lost the focus: the next activation counts again.
  void FormDeactivate();
  void FormHide();

  // ControlWindow.
  const ControlSet& Controls() const override { return controls; }
  bool Click(std::string_view name) override;
  bool Change(std::string_view name, int value) override;
  const PaintBox* Paint(std::string_view) override { return nullptr; }
  bool MouseDown(std::string_view, int, int, int, int) override { return false; }

  ControlSet controls;
  int effectKind = ekMelt;
  EffectCentre gradCentre;
  EffectCentre lightCentre;
  bool visible = false;
  bool active = false;

 private:
  // The mask's and the work plane's top-left blocks of the mask's size; false when the mask does
  // not fit its layer or the work plane is smaller.
  bool Planes(MaskPlane& mask, MaskPlane& scratch);
  // `count` passes from the mask into the scratch plane and back; with `showEach` the canvas
  // shows the mask after every pass.
  template <typename Pass>
  void RunPasses(int count, bool showEach, Pass&& pass);
  void Gradation();
  void Light();
  void Changed();

  MaskTools& tools_;
  TfrmMaskSet& maskWindow_;
  ToolEngine& engine_;
  MaskLinks& links_;
  Platform& platform_;
  UniformRandom& random_;
  Views& views_;
};

}  // namespace mirasketch
