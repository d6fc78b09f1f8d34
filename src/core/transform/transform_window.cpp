#include "transform/transform_window.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "buffers/copy_block.h"
#include "painting/tool_engine.h"
#include "platform/font_engine.h"
#include "platform/io_error.h"
#include "platform/recent_list.h"
#include "platform/uniform_random.h"
#include "platform/views.h"
#include "project/picture_file.h"
#include "project/size_dialog.h"
#include "transform/selection.h"

namespace mirasketch {

namespace {

using M = MenuEntry;

constexpr MenuEntry kMenu[] = {
    {M::kMenu, "mnuMagnification", "拡大縮小(&M)", "", 0},
    {M::kItem, "mnuMagAspect", "縦横比固定(&S)", "", 0},
    {M::kItem, "mnuMagFree", "自由(&F)", "", 1},
    {M::kItem, "mnuMagPercent", "百分率入力(&I)", "", 2},
    {M::kItem, "mnuMagInputWH", "大きさ入力(&L)", "", 3},
    {M::kEnd, "", "", "", 0},
    {M::kMenu, "mnuSpin", "回転(&R)", "", 0},
    {M::kItem, "mnuSpin0", "0度(&0)", "", 0},
    {M::kItem, "mnuSpin90", "90度(&1)", "", 1},
    {M::kItem, "mnuSpin180", "180度(&2)", "", 2},
    {M::kItem, "mnuSpin270", "270度(&3)", "", 3},
    {M::kItem, "mnuSpinInput", "入力(&I)", "", 4},
    {M::kEnd, "", "", "", 0},
    {M::kMenu, "mnuTrapezoid", "変形(&T)", "", 0},
    {M::kItem, "mnuTrapezoidR", "台形横(&H)", "", 0},
    {M::kItem, "mnuTrapezoidD", "台形縦(&V)", "", 1},
    {M::kItem, "mnuTile", "タイル化(&T)", "", 0},
    {M::kItem, "mnuPutSidebySide", "並べてみる(&P)", "", 0},
    {M::kEnd, "", "", "", 0},
    {M::kMenu, "mnuStr", "文字列(&S)", "", 0},
    {M::kItem, "mnuStrMode", "文字列モード(&S)", "", 0},
    {M::kItem, "mnuStrInput", "文字入力(&I)", "", 0},
    {M::kItem, "mnuStrFont", "フォント指定(&F)", "", 0},
    {M::kEnd, "", "", "", 0},
    {M::kMenu, "mnuGo", "実行(&G)", "", 0},
    {M::kItem, "mnuDoCal", "計算(&G)", "", 0},
    {M::kItem, "mnuFix", "確定(&F)", "", 0},
    {M::kItem, "mnuAA", "アンチエイリアシング", "", 0},
    {M::kSeparator, "", "", "", 0},
    {M::kItem, "mnuSmoothing", "スムージング(&S)", "", 0},
    {M::kItem, "mnuMaskUse", "マスクを保護する(&M)", "", 0},
    {M::kSeparator, "", "", "", 0},
    {M::kItem, "mnuOpenFile", "画像読込み", "", 8},
    {M::kSubmenu, "mnuPastFolder", "フォルダから", "", 0},
    {M::kItem, "mnuPastFolder0", "(empty)", "", 0},
    {M::kItem, "mnuPastFolder1", "(empty)", "", 1},
    {M::kItem, "mnuPastFolder2", "(empty)", "", 2},
    {M::kItem, "mnuPastFolder3", "(empty)", "", 3},
    {M::kEnd, "", "", "", 0},
    {M::kSeparator, "", "", "", 0},
    {M::kItem, "mnuPaste", "貼付け(&P)", "", 0},
    {M::kItem, "mnuPastOrg", "もとの画像貼付け", "", 0},
    {M::kSeparator, "", "", "", 0},
    {M::kItem, "mnuClose", "閉じる(&X)", "", 0},
    {M::kEnd, "", "", "", 0},
};

// PNG pictures have their own entry after the original three.
constexpr const char* kPictureFilter =
    "使用可能なファイル (*.jpg;*.bmp)|*.jpg;*.bmp|JPEG イメージファイル (*.jpg)|*.jpg|"
    "ビットマップ (*.bmp)|*.bmp|PNGファイル (*.png)|*.png";

constexpr int kGrey = 0x808080;
constexpr int kBlack = 0x000000;
constexpr int kMarkerRed = 0x0000FF;

// The menu items and the client area.
const std::vector<ControlSpec>& TransformControls() {
  static const std::vector<ControlSpec> specs = [] {
    std::vector<ControlSpec> all = MenuControls(kMenu);
    all.push_back({"Canvas", ControlKind::kPaintBox, "", 0, 0, 400, 427, ""});
    return all;
  }();
  return specs;
}

int Clamped(long long v, long long low, long long high) {
  return static_cast<int>(std::clamp(v, low, high));
}

}  // namespace

std::vector<MenuEntry> TransformMenu() {
  return {std::begin(kMenu), std::end(kMenu)};
}

TfrmT::TfrmT(ToolEngine& engine, Selection& selection, PictureFiles& files, Platform& platform,
             Views& views, UniformRandom& random)
    : controls(TransformControls()),
      engine_(engine),
      selection_(selection),
      files_(files),
      platform_(platform),
      views_(views),
      random_(random) {
  // A 4 × 4 white source and result until a piece or a picture is loaded.
  r.srcPiece.SetSize(4, 4, platform_);
  r.resultPicture.SetSize(4, 4, platform_);
  r.resultPicture.FillRect(0, 0, 4, 4, 0xFFFFFF);
  ShowFolders();
}

void TfrmT::Changed() {
  FormPaint();
  views_.WindowChanged(WindowId::frmT);
}

void TfrmT::ShowFolders() {
  for (std::size_t i = 0; i < folderHistory.size(); ++i)
    controls.SetCaption("mnuPastFolder" + std::to_string(i),
                        folderHistory[i].empty() ? "(empty)" : folderHistory[i]);
}

double TfrmT::TypedNumber(const std::string& text) {
  const double value = std::strtod(text.c_str(), nullptr);
  return std::isfinite(value) ? value : 0.0;
}

void TfrmT::LoadPiece(const CDibTM& piece, int w, int h) {
  if (TakeSource(piece, w, h)) Changed();
}

bool TfrmT::TakeSource(const CDibTM& piece, int w, int h) {
  if (piece.Bits() == nullptr || w < 1 || h < 1 || w > piece.Width() || h > piece.Height())
    return false;
  r.srcPiece.Assign(piece, platform_);
  if (r.srcPiece.Width() != piece.Width() ||
      !r.resultPicture.SetSize(piece.Width(), piece.Height(), platform_))
    return false;
  CopyBlock(r.resultPicture, 0, 0, piece, 0, 0, piece.Width(), piece.Height());
  r.srcWidth = r.resultWidth = w;
  r.srcHeight = r.resultHeight = h;
  dragging = false;
  editMode = emNone;
  return true;
}

void TfrmT::mnuMagAspectClick(int tag) {
  if (tag == 0 || tag == 1) {
    keepAspect = tag == 0;
    r.targetWidth = r.srcWidth;
    r.targetHeight = r.srcHeight;
  } else if (tag == 2) {
    const auto typed = platform_.InputBox("大きさ", "1-1000%", "100");
    if (!typed) return;
    const double p = TypedNumber(*typed);
    auto scaled = [p](int side) {
      return Clamped(static_cast<long long>(std::clamp(std::floor(side * p / 100.0), -1e9, 1e9)), 4,
                     10000);
    };
    r.targetWidth = scaled(r.srcWidth);
    r.targetHeight = scaled(r.srcHeight);
    keepAspect = true;
  } else if (tag == 3) {
    keepAspect = false;
    TfrmDlgSize dialog;
    dialog.commentVisible = false;
    dialog.SetValues(r.srcWidth, r.srcHeight);
    if (!views_.RunSizeDialog(dialog)) return;
    r.targetWidth = dialog.resultWidth;
    r.targetHeight = dialog.resultHeight;
  } else {
    return;
  }
  editMode = emScale;
  SetCornersFromTarget(r);
  Changed();
}

void TfrmT::mnuSpin0Click(int tag) {
  editMode = emRotate;
  if (tag >= 0 && tag <= 3) {
    r.angle = 90.0f * static_cast<float>(tag);
  } else if (tag == 4) {
    const auto typed = platform_.InputBox("角度", "-359～359", "0");
    if (!typed) return;
    r.angle = static_cast<float>(std::clamp(TypedNumber(*typed), -360.0, 360.0));
  } else {
    return;
  }
  double x = 0, y = 0;
  RotatePoint(r.angle, 100.5, 0.0, x, y);
  r.handles[4] = {static_cast<int>(std::trunc(x)), static_cast<int>(std::trunc(y))};
  Changed();
}

void TfrmT::mnuTrapezoidRClick(int tag) {
  r.trapezoidHorizontal = tag % 2 == 0;
  const int w = r.srcWidth / 2, h = r.srcHeight / 2;
  r.handles[0] = {-w, -h};
  r.handles[1] = {w, -h};
  r.handles[2] = {-w, h};
  r.handles[3] = {w, h};
  editMode = emTrapezoid;
  Changed();
}

void TfrmT::mnuTileClick() {
  const auto typed = platform_.InputBox("置く数", "1-100", std::to_string(r.tileCount));
  if (!typed) return;
  bool wellFormed = false;
  r.tileCount = std::clamp(ReadLeadingInt(*typed, wellFormed), 1, 100);
  // Each tiling draws new places, unless a replay fixed the generator for the whole run.
  if (!random_.fixedSeed) random_.Seed(static_cast<std::uint64_t>(platform_.ClockMilliseconds()));
  Tile(r, random_, platform_);
  editMode = emNone;
  Changed();
}

void TfrmT::mnuPutSidebySideClick() {
  const auto typed = platform_.InputBox("いくつ", "2-20", std::to_string(r.sideCount));
  if (!typed) return;
  bool wellFormed = false;
  r.sideCount = std::clamp(ReadLeadingInt(*typed, wellFormed), 2, 20);
  SideBySide(r, platform_);
  editMode = emNone;
  Changed();
}

void TfrmT::mnuStrModeClick() {
  int width = 0, height = 0;
  if (fonts_ != nullptr) {
    fonts_->SelectFont(font);
    glyphs_.SetGlyphCanvas(*fonts_);
    fonts_->MeasureText(drawText, width, height);
  }
  const long long w = static_cast<long long>(width) + 4, h = static_cast<long long>(height) + 6;
  if (w > 30000 || h > 30000 ||
      !r.resultPicture.SetSize(static_cast<int>(w), static_cast<int>(h), platform_)) {
    if (w > 30000 || h > 30000) platform_.ShowMessage(kBitsAllocError);
    return;
  }
  r.resultWidth = static_cast<int>(w);
  r.resultHeight = static_cast<int>(h);
  r.resultPicture.FillRect(0, 0, r.resultPicture.Width(), r.resultPicture.Height(), 0xFFFFFF);
  if (fonts_ != nullptr)
    glyphs_.DrawString(r.resultPicture, 2, 0, static_cast<int>(engine_.settings.drawColor),
                       drawText);
  editMode = emText;
  Changed();
}

void TfrmT::mnuStrInputClick() {
  const auto typed = platform_.InputBox("文字列", "描画文字列", drawText);
  if (!typed) return;
  drawText = *typed;
  mnuStrModeClick();
}

void TfrmT::mnuStrFontClick() {
  const auto chosen = platform_.ChooseFont(font);
  if (!chosen) return;
  font = *chosen;
  // The dialog offers sizes up to 60.
  font.pixelHeight = std::clamp(font.pixelHeight, 1, 60);
  mnuStrModeClick();
}

void TfrmT::mnuDoCalClick() {
  const BusyCursor busy(platform_);
  r.smoothing = controls.Checked("mnuSmoothing");
  r.protectMask = controls.Checked("mnuMaskUse");
  if (editMode == emScale)
    ComputeScale(r, platform_);
  else if (editMode == emRotate)
    ComputeRotation(r, platform_);
  else if (editMode == emTrapezoid)
    ComputeTrapezoid(r, platform_);
  Changed();
}

void TfrmT::mnuFixClick() {
  if (!r.srcPiece.SetSize(r.resultWidth, r.resultHeight, platform_)) return;
  r.srcWidth = r.resultWidth;
  r.srcHeight = r.resultHeight;
  CopyBlock(r.srcPiece, 0, 0, r.resultPicture, 0, 0, r.resultWidth, r.resultHeight);
  Changed();
}

void TfrmT::mnuAAClick() {
  AntiAlias(r, platform_);
  Changed();
}

void TfrmT::mnuSmoothingClick() {
  controls.SetChecked("mnuSmoothing", !controls.Checked("mnuSmoothing"));
  r.smoothing = controls.Checked("mnuSmoothing");
  Changed();
}

void TfrmT::mnuMaskUseClick() {
  controls.SetChecked("mnuMaskUse", !controls.Checked("mnuMaskUse"));
  r.protectMask = controls.Checked("mnuMaskUse");
  Changed();
}

void TfrmT::mnuOpenFileClick(int tag) {
  FileDialogRequest request;
  request.filter = kPictureFilter;
  request.defaultExtension = "bmp";
  request.initialFolder = openFolder_;
  if (tag >= 0 && tag < 4) {
    const std::string& folder = folderHistory[static_cast<std::size_t>(tag)];
    if (folder.empty()) return;
    request.initialFolder = folder;
  } else if (tag != 8) {
    return;
  }
  const auto file = platform_.ChooseOpenFile(request);
  if (!file) return;
  openFolder_ = FolderOf(*file);
  // Read into a picture of its own first: a file that cannot be read leaves the source as it was.
  CDibTM loaded;
  int width = 0, height = 0;
  try {
    if (!files_.LoadImageFile(*file, loaded, width, height)) return;
  } catch (const IoError& error) {
    platform_.ShowMessage(error.what());
    return;
  }
  if (!TakeSource(loaded, loaded.Width(), loaded.Height())) return;
  r.srcPiece.ResetMask();
  RememberFolder(openFolder_);
  Changed();
}

void TfrmT::RememberFolder(const std::string& folder) {
  PushRecent(folderHistory, folder);
  ShowFolders();
}

bool TfrmT::FillWorkLayer(const CDibTrue& picture, const CDib256* mask, int w, int h) {
  CDibTM& piece = engine_.workLayer;
  if (!piece.SetSize(w + 1, h + 1, platform_)) return false;
  CopyBlock(piece, 0, 0, picture, 0, 0, w, h);
  if (mask != nullptr) CopyBlock256(piece.mask, 0, 0, *mask, 0, 0, w, h);
  return true;
}

void TfrmT::mnuPasteClick() {
  if (!FillWorkLayer(r.resultPicture, nullptr, r.resultWidth, r.resultHeight)) return;
  selection_.PastePiece(r.resultWidth, r.resultHeight);
}

void TfrmT::mnuPastOrgClick() {
  if (!FillWorkLayer(r.srcPiece, &r.srcPiece.mask, r.srcWidth, r.srcHeight)) return;
  selection_.PastePiece(r.srcWidth, r.srcHeight);
}

void TfrmT::mnuDoEscClick() {
  visible = false;
  views_.ShowWindow(WindowId::frmT, false);
}

void TfrmT::FormResize(int width, int height) {
  clientWidth = std::max(width, 1);
  clientHeight = std::max(height, 1);
  Changed();
}

void TfrmT::FormMouseDown(int button, int x, int y) {
  if (button != 1) return;
  const int cx = viewCentre.x, cy = viewCentre.y;
  auto hit = [&](const HandlePoint& h) {
    return std::llabs(static_cast<long long>(x) - cx - h.x) +
               std::llabs(static_cast<long long>(y) - cy - h.y) <
           6;
  };
  dragging = false;
  if (editMode == emScale) {
    dragging = hit(r.handles[0]);
  } else if (editMode == emRotate) {
    dragging = hit(r.handles[4]);
  } else if (editMode == emTrapezoid) {
    for (int k = 0; k < 4 && !dragging; ++k) {
      if (hit(r.handles[static_cast<std::size_t>(k)])) {
        dragHandle = k;
        dragging = true;
      }
    }
  }
}

void TfrmT::FormMouseMove(int x, int y) {
  if (!dragging) return;
  // The pointer never lies far outside the window; the clamp keeps the doubled sizes in range.
  const int dx = Clamped(static_cast<long long>(x) - viewCentre.x, -100000, 100000);
  const int dy = Clamped(static_cast<long long>(y) - viewCentre.y, -100000, 100000);
  if (editMode == emScale) {
    r.targetWidth = 2 * std::abs(dx);
    r.targetHeight = 2 * std::abs(dy);
    if (keepAspect && r.srcWidth > 0 && r.srcHeight > 0) {
      const double fx = static_cast<double>(r.targetWidth) / r.srcWidth;
      const double fy = static_cast<double>(r.targetHeight) / r.srcHeight;
      if (fy > fx)
        r.targetHeight = static_cast<int>(std::floor(fx * r.srcHeight));
      else
        r.targetWidth = static_cast<int>(std::floor(fy * r.srcWidth));
    }
    SetCornersFromTarget(r);
  } else if (editMode == emRotate) {
    r.handles[4] = {dx, dy};
    r.angle = static_cast<float>(std::atan2(static_cast<float>(-dy), static_cast<float>(dx)) *
                                 180.0f / 3.14159265358979323846f);
  } else if (editMode == emTrapezoid) {
    const auto k = static_cast<std::size_t>(dragHandle);
    r.handles[k] = {dx, dy};
    if (r.trapezoidHorizontal)
      r.handles[k ^ 1].y = dy;  // 0 ↔ 1, 2 ↔ 3: the same horizontal edge
    else
      r.handles[k ^ 2].x = dx;  // 0 ↔ 2, 1 ↔ 3: the same vertical edge
  }
  Changed();
}

void TfrmT::FormMouseUp(int button) {
  if (button == 1) dragging = false;
}

void TfrmT::FormPaint() {
  viewCentre = {clientWidth / 2, clientHeight / 2};
  const int cx = viewCentre.x, cy = viewCentre.y;
  canvas.Begin(clientWidth, clientHeight);
  canvas.Fill(0, 0, canvas.image.Width(), clientHeight, kGrey);
  CopyBlock(canvas.image, cx - r.resultWidth / 2, cy - r.resultHeight / 2, r.resultPicture, 0, 0,
            std::min(r.resultWidth, r.resultPicture.Width()),
            std::min(r.resultHeight, r.resultPicture.Height()));
  CDibTrue& image = canvas.image;
  auto at = [&](std::size_t k) {
    return std::pair<int, int>{cx + r.handles[k].x, cy + r.handles[k].y};
  };
  auto line = [&](std::pair<int, int> a, std::pair<int, int> b, int colour) {
    image.Line(a.first, a.second, b.first, b.second, colour);
  };
  auto marker = [&](std::pair<int, int> p) {
    const auto [x, y] = p;
    line({x, y - 6}, {x + 6, y}, kMarkerRed);
    line({x + 6, y}, {x, y + 6}, kMarkerRed);
    line({x, y + 6}, {x - 6, y}, kMarkerRed);
    line({x - 6, y}, {x, y - 6}, kMarkerRed);
  };
  auto outline = [&] {
    line(at(0), at(1), kBlack);
    line(at(1), at(3), kBlack);
    line(at(3), at(2), kBlack);
    line(at(2), at(0), kBlack);
  };
  if (editMode == emScale) {
    outline();
    marker(at(0));
  } else if (editMode == emRotate) {
    marker(at(4));
    line(at(4), {cx, cy}, kBlack);
  } else if (editMode == emTrapezoid) {
    outline();
    for (std::size_t k = 0; k < 4; ++k) marker(at(k));
  }
}

bool TfrmT::Click(std::string_view name) {
  const int index = controls.Find(name);
  if (index < 0 || controls.Spec(name).kind != ControlKind::kMenuItem) return false;
  const int tag = controls.Spec(name).tag;
  const std::string_view parent = controls.Spec(name).parent;
  if (parent == "mnuMagnification") {
    mnuMagAspectClick(tag);
  } else if (parent == "mnuSpin") {
    mnuSpin0Click(tag);
  } else if (name == "mnuTrapezoidR" || name == "mnuTrapezoidD") {
    mnuTrapezoidRClick(tag);
  } else if (name == "mnuTile") {
    mnuTileClick();
  } else if (name == "mnuPutSidebySide") {
    mnuPutSidebySideClick();
  } else if (name == "mnuStrMode") {
    mnuStrModeClick();
  } else if (name == "mnuStrInput") {
    mnuStrInputClick();
  } else if (name == "mnuStrFont") {
    mnuStrFontClick();
  } else if (name == "mnuDoCal") {
    mnuDoCalClick();
  } else if (name == "mnuFix") {
    mnuFixClick();
  } else if (name == "mnuAA") {
    mnuAAClick();
  } else if (name == "mnuSmoothing") {
    mnuSmoothingClick();
  } else if (name == "mnuMaskUse") {
    mnuMaskUseClick();
  } else if (name == "mnuOpenFile" || parent == "mnuPastFolder") {
    mnuOpenFileClick(tag);
  } else if (name == "mnuPaste") {
    mnuPasteClick();
  } else if (name == "mnuPastOrg") {
    mnuPastOrgClick();
  } else if (name == "mnuClose") {
    mnuDoEscClick();
  } else {
    return false;
  }
  return true;
}

const PaintBox* TfrmT::Paint(std::string_view name) {
  if (name != "Canvas") return nullptr;
  FormPaint();
  return &canvas;
}

bool TfrmT::MouseDown(std::string_view name, int button, int x, int y, int) {
  if (name != "Canvas") return false;
  FormMouseDown(button, x, y);
  return true;
}

bool TfrmT::MouseMove(std::string_view name, int x, int y, int) {
  if (name != "Canvas") return false;
  FormMouseMove(x, y);
  return true;
}

bool TfrmT::MouseUp(std::string_view name, int button, int, int, int) {
  if (name != "Canvas") return false;
  FormMouseUp(button);
  return true;
}

}  // namespace mirasketch
