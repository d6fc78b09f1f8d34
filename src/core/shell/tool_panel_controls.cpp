// The tool panel's controls as designed: top strip, tool buttons, option groups, brush strip.
#include "shell/tool_panel_controls.h"

namespace mirasketch {

namespace {

using K = ControlKind;

constexpr ControlSpec kControls[] = {
    {"btnUndo", K::kButton, "", 4, 4, 41, 20, "Undo"},
    {"chkMask", K::kCheckBox, "", 54, 4, 76, 17, "ﾏｽｸON"},
    {"lblZoom", K::kLabel, "", 2, 30, 50, 13, "ｽﾞｰﾑ1"},
    {"sbZoom", K::kScrollBar, "", 54, 26, 73, 17, "", 1, 10, 1},

    {"pnlTool", K::kPanel, "", 0, 50, 136, 76, ""},
    {"spbPen", K::kSpeedButton, "pnlTool", 2, 2, 24, 24, "", 0, 0, 1, tkPen},
    {"spbErase", K::kSpeedButton, "pnlTool", 26, 2, 24, 24, "", 0, 0, 1, tkErase},
    {"spbPenLine", K::kSpeedButton, "pnlTool", 56, 2, 24, 24, "", 0, 0, 1, tkPenLine},
    {"spbSelect", K::kSpeedButton, "pnlTool", 84, 2, 24, 24, "", 0, 0, 1, tkSelect},
    {"spbMask", K::kSpeedButton, "pnlTool", 108, 2, 24, 24, "", 0, 0, 1, tkMask},
    {"spbBox", K::kSpeedButton, "pnlTool", 2, 26, 24, 24, "", 0, 0, 1, tkBox},
    {"spbCircle", K::kSpeedButton, "pnlTool", 26, 26, 24, 24, "", 0, 0, 1, tkCircle},
    {"spbLine", K::kSpeedButton, "pnlTool", 50, 26, 24, 24, "", 0, 0, 1, tkLine},
    {"spbOresen", K::kSpeedButton, "pnlTool", 78, 26, 24, 24, "", 0, 0, 1, tkOresen},
    {"spbRuler", K::kSpeedButton, "pnlTool", 102, 26, 24, 24, "", 0, 0, 1, tkRuler},
    {"spbBrush", K::kSpeedButton, "pnlTool", 2, 50, 24, 24, "", 0, 0, 1, tkBrush},
    {"spbAirBrush", K::kSpeedButton, "pnlTool", 26, 50, 24, 24, "", 0, 0, 1, tkAirBrush},
    {"spbAverageBrush", K::kSpeedButton, "pnlTool", 50, 50, 24, 24, "", 0, 0, 1, tkAverageBrush},
    {"spbBrushBig", K::kSpeedButton, "pnlTool", 74, 50, 24, 24, "", 0, 0, 1, tkBrushBig},
    {"spbPenki", K::kSpeedButton, "pnlTool", 106, 50, 24, 24, "", 0, 0, 1, tkPenki},

    // The brush strip comes before the option groups: the tall groups lie over it.
    {"pnlABrush", K::kPanel, "", 0, 204, 136, 40, ""},
    {"trkABrush", K::kTrackBar, "pnlABrush", 2, 2, 132, 20, "", 0, 15, 1},
    {"pbxABrush", K::kPaintBox, "pnlABrush", 4, 22, 128, 16, ""},

    {"grpPenEraser", K::kGroup, "", 0, 130, 136, 72, "ペンと消しゴム"},
    {"cboPenErase", K::kComboBox, "grpPenEraser", 8, 12, 121, 20,
     "右クリックスポイト\n右クリックで切換\n右クリック:消しｺﾞﾑ"},
    {"pbxEraser", K::kPaintBox, "grpPenEraser", 4, 32, 128, 38, ""},

    {"grpShape", K::kGroup, "", 0, 130, 136, 72, "図形描画"},
    {"chkShapeCenter", K::kCheckBox, "grpShape", 12, 20, 117, 17, "真中から描く", 0, 0, 1, 2},
    {"chkShapeFill", K::kCheckBox, "grpShape", 12, 42, 117, 17, "中を塗りつぶし", 0, 0, 1, 1},

    {"grpBrush", K::kGroup, "", 0, 130, 136, 114, "ブラシ形状"},
    {"pbxBrush", K::kPaintBox, "grpBrush", 4, 16, 128, 76, ""},
    {"chkBrushSpace", K::kCheckBox, "grpBrush", 16, 94, 97, 17, "直線補間"},

    {"grpAveBrush", K::kGroup, "", 0, 130, 136, 72, "ぼかしブラシ"},
    {"rdiAveBrush0", K::kRadio, "grpAveBrush", 12, 16, 117, 17, "普通にぼかす", 0, 0, 1, 0},
    {"rdiAveBrush1", K::kRadio, "grpAveBrush", 12, 34, 117, 17, "描画色を加味", 0, 0, 1, 1},
    {"chkAveBrushOnPut", K::kCheckBox, "grpAveBrush", 72, 52, 57, 17, "引摺"},

    {"grpBrushBig", K::kGroup, "", 0, 130, 136, 114, "いろいろブラシ"},
    {"rdiBrushBig1", K::kRadio, "grpBrushBig", 16, 26, 113, 17, "大きなブラシ", 0, 0, 1, 0},
    {"rdiBrushBig2", K::kRadio, "grpBrushBig", 16, 48, 113, 17, "アンドゥブラシ", 0, 0, 1, 1},
    {"lblBrushBigSize", K::kLabel, "grpBrushBig", 8, 72, 60, 13, "半径10"},
    {"sbBrushBigSize", K::kScrollBar, "grpBrushBig", 24, 88, 97, 17, "", 1, 50, 1},

    {"grpPenki", K::kGroup, "", 0, 130, 136, 114, "ペンキ缶"},
    {"lblPenkiRange", K::kLabel, "grpPenki", 8, 40, 80, 13, "対象色幅1"},
    {"sbPenkiRange", K::kScrollBar, "grpPenki", 16, 56, 113, 17, "", 1, 256, 2},

    {"grpSelect", K::kGroup, "", 0, 130, 136, 114, "範囲選択"},
    {"btnSelectAll", K::kButton, "grpSelect", 8, 24, 57, 25, "全選択", 0, 0, 1, 3},
    {"btnSelectFlipLeftRight", K::kButton, "grpSelect", 70, 26, 57, 25, "左右反転", 0, 0, 1, 1},
    {"btnSelectFlipUpDown", K::kButton, "grpSelect", 70, 58, 57, 25, "上下反転", 0, 0, 1, 2},
    {"btnSelectTrans", K::kButton, "grpSelect", 12, 56, 49, 25, "変形"},
    {"chkSelectMask", K::kCheckBox, "grpSelect", 8, 90, 121, 17, "もとのﾏｽｸを透明"},

    {"grpCountLine", K::kGroup, "", 0, 130, 136, 72, "連続線画"},
    {"rdiCountLine", K::kRadio, "grpCountLine", 16, 22, 97, 17, "直線", 0, 0, 1, 0},
    {"rdiCountSpline", K::kRadio, "grpCountLine", 16, 46, 97, 17, "曲線", 0, 0, 1, 1},

    {"grpRuler", K::kGroup, "", 0, 130, 136, 72, "定規"},
    {"rdiRulerTriangle", K::kRadio, "grpRuler", 8, 16, 53, 17, "三角", 0, 0, 1, 1},
    {"rdiRulerCloud", K::kRadio, "grpRuler", 64, 16, 57, 17, "雲形", 0, 0, 1, 2},
    {"lblRulerSize", K::kLabel, "grpRuler", 8, 38, 70, 13, "大きさ100%"},
    {"sbRulerSize", K::kScrollBar, "grpRuler", 8, 52, 97, 17, "", 30, 500, 1},
    {"chkRulerInvert", K::kCheckBox, "grpRuler", 82, 34, 49, 17, "裏返"},

    {"grpPenLine", K::kGroup, "", 0, 130, 136, 72, "ペン入れ"},
    {"lblPenLineHook", K::kLabel, "grpPenLine", 16, 16, 70, 13, "更新間隔7"},
    {"sbPenLineHook", K::kScrollBar, "grpPenLine", 40, 32, 81, 17, "", 3, 32, 1},
    {"chkPenLineSpline", K::kCheckBox, "grpPenLine", 8, 52, 73, 17, "曲線補間"},
    {"chkPenLineNoLook", K::kCheckBox, "grpPenLine", 82, 52, 49, 17, "無視"},

};

}  // namespace

std::span<const ControlSpec> ToolPanelControls() {
  return kControls;
}

}  // namespace mirasketch
