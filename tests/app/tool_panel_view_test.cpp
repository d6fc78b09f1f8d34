// The tool panel: its widgets as the control table designs them, the tool buttons swapping the
// option groups, the zoom bar, check boxes and radios ending as the core has them, the brush
// grid and its picture, and the core's own changes reaching the widgets.

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <QToolButton>
#include <set>

#include "app_test.h"
#include "shell/tool_panel_controls.h"
#include "tool_glyphs.h"
#include "tool_panel_view.h"

namespace mirasketch::test {

namespace {

// Clicks a check box or radio on its indicator, where a click always hits it.
void ClickIndicator(QWidget* button) {
  QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(6, button->height() / 2));
}

const char* kOptionGroups[] = {"grpPenEraser", "grpShape",  "grpBrush",  "grpAveBrush",
                               "grpBrushBig",  "grpPenki",  "grpSelect", "grpCountLine",
                               "grpRuler",     "grpPenLine"};

// The option groups that are shown.
std::set<std::string> ShownGroups(ToolPanelView& panel) {
  std::set<std::string> shown;
  for (const char* group : kOptionGroups)
    if (panel.Control(group)->isVisible()) shown.insert(group);
  return shown;
}

}  // namespace

class ToolPanelViewTest : public QObject {
  Q_OBJECT

 private slots:
  void widgetsFollowTheControlTable();
  void toolGlyphsAreVisibleAndDistinct();
  void toolButtonsSwapTheOptionGroups();
  void zoomBarZoomsTheCanvas();
  void checkBoxesAndRadiosEndAsTheCoreHasThem();
  void brushGridSelectsStampsAndShowsThem();
  void coreChangesReachTheWidgets();
  void panelRefusesToClose();
};

void ToolPanelViewTest::widgetsFollowTheControlTable() {
  RunningProgram program;
  ToolPanelView& panel = program.windows.toolPanel;
  QCOMPARE(program.Window("frmC"), &panel);
  QCOMPARE(panel.size(), QSize(136, 244));
  int speedButtons = 0;
  for (const ControlSpec& design : ToolPanelControls()) {
    QWidget* widget = panel.findChild<QWidget*>(design.name);
    QVERIFY2(widget != nullptr, design.name);
    QCOMPARE(panel.Control(design.name), widget);
    const QString parent = design.parent[0] == '\0' ? "frmC" : design.parent;
    QVERIFY2(widget->parentWidget()->objectName() == parent, design.name);
    QVERIFY2(widget->geometry() == QRect(design.left, design.top, design.width, design.height),
             design.name);
    const QString caption = QString::fromUtf8(design.caption);
    switch (design.kind) {
      case ControlKind::kSpeedButton: {
        auto* button = qobject_cast<QToolButton*>(widget);
        QVERIFY2(button != nullptr && button->isCheckable(), design.name);
        QVERIFY2(!button->icon().isNull(), design.name);
        ++speedButtons;
        break;
      }
      case ControlKind::kButton:
        QVERIFY2(qobject_cast<QPushButton*>(widget)->text() == caption, design.name);
        break;
      case ControlKind::kCheckBox:
        QVERIFY2(qobject_cast<QCheckBox*>(widget)->text() == caption, design.name);
        break;
      case ControlKind::kRadio:
        QVERIFY2(qobject_cast<QRadioButton*>(widget)->autoExclusive(), design.name);
        break;
      case ControlKind::kScrollBar: {
        auto* bar = qobject_cast<QScrollBar*>(widget);
        QVERIFY2(bar != nullptr && bar->orientation() == Qt::Horizontal, design.name);
        QVERIFY2(bar->minimum() == design.minimum && bar->maximum() == design.maximum, design.name);
        QVERIFY2(bar->pageStep() == design.largeStep, design.name);
        break;
      }
      case ControlKind::kTrackBar:
        QVERIFY2(qobject_cast<QSlider*>(widget)->maximum() == design.maximum, design.name);
        break;
      case ControlKind::kComboBox:
        QVERIFY2(qobject_cast<QComboBox*>(widget)->count() == 3, design.name);
        break;
      case ControlKind::kLabel:
        QVERIFY2(qobject_cast<QLabel*>(widget) != nullptr, design.name);
        break;
      case ControlKind::kGroup:
        QVERIFY2(qobject_cast<QGroupBox*>(widget)->title() == caption, design.name);
        break;
      default:
        break;
    }
  }
  QCOMPARE(speedButtons, 15);
  QCOMPARE(qobject_cast<QComboBox*>(panel.Control("cboPenErase"))->itemText(2),
           QString("右クリック:消しｺﾞﾑ"));
  // The start state: the pen is down and its group shown; zoom 1.
  QVERIFY(qobject_cast<QToolButton*>(panel.Control("spbPen"))->isChecked());
  QCOMPARE(ShownGroups(panel), std::set<std::string>{"grpPenEraser"});
  QCOMPARE(qobject_cast<QLabel*>(panel.Control("lblZoom"))->text(), QString("ｽﾞｰﾑ1"));
  QCOMPARE(qobject_cast<QScrollBar*>(panel.Control("sbZoom"))->value(), 1);

  // A tall option group lies over the brush strip where they overlap.
  QTest::mouseClick(panel.Control("spbBrush"), Qt::LeftButton);
  QWidget* atStrip = panel.childAt(70, 210);
  QVERIFY(atStrip != nullptr);
  QVERIFY(atStrip == panel.Control("grpBrush") || panel.Control("grpBrush")->isAncestorOf(atStrip));
  // … and hides it: where the group has no control of its own, the strip does not show through.
  const QImage shown = panel.grab().toImage();
  for (const QPoint at : {QPoint(120, 228), QPoint(125, 238), QPoint(8, 232)})
    QCOMPARE(shown.pixelColor(at), panel.palette().color(QPalette::Window));
}

void ToolPanelViewTest::toolGlyphsAreVisibleAndDistinct() {
  std::set<QByteArray> seen;
  for (const ControlSpec& design : ToolPanelControls()) {
    if (design.kind != ControlKind::kSpeedButton) continue;
    const QImage glyph = ToolGlyphImage(design.tag);
    QCOMPARE(glyph.size(), QSize(20, 20));
    int opaque = 0;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 20; ++x)
        if (glyph.pixelColor(x, y).alpha() > 128) ++opaque;
    QVERIFY2(opaque >= 20, design.name);
    seen.insert(QByteArray(reinterpret_cast<const char*>(glyph.constBits()), glyph.sizeInBytes()));
  }
  QCOMPARE(seen.size(), std::size_t{15});
  QVERIFY(ToolGlyphImage(tkLayerMove).isNull());
  QVERIFY(!PaletteGlyphImage().isNull());
}

void ToolPanelViewTest::toolButtonsSwapTheOptionGroups() {
  RunningProgram program;
  ToolPanelView& panel = program.windows.toolPanel;
  const ToolSettings& settings = program.studio.toolEngine.settings;
  auto button = [&](const char* name) { return qobject_cast<QToolButton*>(panel.Control(name)); };
  auto downButtons = [&] {
    std::set<std::string> down;
    for (const ControlSpec& design : ToolPanelControls())
      if (design.kind == ControlKind::kSpeedButton && button(design.name)->isChecked())
        down.insert(design.name);
    return down;
  };

  QTest::mouseClick(button("spbBrush"), Qt::LeftButton);
  QCOMPARE(int{settings.currentTool}, int{tkBrush});
  QCOMPARE(ShownGroups(panel), std::set<std::string>{"grpBrush"});
  QCOMPARE(downButtons(), std::set<std::string>{"spbBrush"});

  // Clicking the tool that is down keeps it down.
  QTest::mouseClick(button("spbBrush"), Qt::LeftButton);
  QCOMPARE(downButtons(), std::set<std::string>{"spbBrush"});

  // Pen and eraser share their group.
  QTest::mouseClick(button("spbPen"), Qt::LeftButton);
  QTest::mouseClick(button("spbErase"), Qt::LeftButton);
  QCOMPARE(int{settings.currentTool}, int{tkErase});
  QCOMPARE(ShownGroups(panel), std::set<std::string>{"grpPenEraser"});
  QCOMPARE(downButtons(), std::set<std::string>{"spbErase"});

  // The mask tool has no group and hides the brush strip; the next tool brings it back.
  QVERIFY(panel.Control("pnlABrush")->isVisible());
  QTest::mouseClick(button("spbMask"), Qt::LeftButton);
  QCOMPARE(int{settings.currentTool}, int{tkMask});
  QVERIFY(ShownGroups(panel).empty());
  QVERIFY(!panel.Control("pnlABrush")->isVisible());
  QTest::mouseClick(button("spbCircle"), Qt::LeftButton);
  QVERIFY(panel.Control("pnlABrush")->isVisible());
  QCOMPARE(ShownGroups(panel), std::set<std::string>{"grpShape"});

  const std::pair<const char*, const char*> tools[] = {
      {"spbPenLine", "grpPenLine"},   {"spbSelect", "grpSelect"},
      {"spbBox", "grpShape"},         {"spbLine", "grpShape"},
      {"spbOresen", "grpCountLine"},  {"spbRuler", "grpRuler"},
      {"spbAirBrush", "grpBrush"},    {"spbAverageBrush", "grpAveBrush"},
      {"spbBrushBig", "grpBrushBig"}, {"spbPenki", "grpPenki"},
  };
  for (const auto& [tool, group] : tools) {
    QTest::mouseClick(button(tool), Qt::LeftButton);
    QVERIFY2(ShownGroups(panel) == std::set<std::string>{group}, tool);
    QVERIFY2(downButtons() == std::set<std::string>{tool}, tool);
    QCOMPARE(int{settings.currentTool}, program.studio.frmC.controls.Spec(tool).tag);
  }
}

void ToolPanelViewTest::zoomBarZoomsTheCanvas() {
  RunningProgram program;
  ToolPanelView& panel = program.windows.toolPanel;
  auto* zoom = qobject_cast<QScrollBar*>(panel.Control("sbZoom"));
  auto* label = qobject_cast<QLabel*>(panel.Control("lblZoom"));
  zoom->setValue(3);
  QCOMPARE(program.studio.frmM.view.zoom, 3);
  QCOMPARE(label->text(), QString("ｽﾞｰﾑ3"));
  zoom->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  QCOMPARE(program.studio.frmM.view.zoom, 4);
  QCOMPARE(label->text(), QString("ｽﾞｰﾑ4"));
  zoom->triggerAction(QAbstractSlider::SliderToMaximum);
  QCOMPARE(program.studio.frmM.view.zoom, 10);
  QCOMPARE(program.studio.frmC.controls.Position("sbZoom"), 10);
}

void ToolPanelViewTest::checkBoxesAndRadiosEndAsTheCoreHasThem() {
  RunningProgram program;
  ToolPanelView& panel = program.windows.toolPanel;
  ToolSettings& settings = program.studio.toolEngine.settings;
  const ControlSet& core = program.studio.frmC.controls;
  QTest::mouseClick(panel.Control("spbBox"), Qt::LeftButton);

  auto* fill = qobject_cast<QCheckBox*>(panel.Control("chkShapeFill"));
  QVERIFY(!settings.shapeFill);
  ClickIndicator(fill);
  QVERIFY(settings.shapeFill);
  QVERIFY(fill->isChecked());
  QVERIFY(core.Checked("chkShapeFill"));
  ClickIndicator(fill);
  QVERIFY(!settings.shapeFill);
  QVERIFY(!fill->isChecked());
  auto* centre = qobject_cast<QCheckBox*>(panel.Control("chkShapeCenter"));
  ClickIndicator(centre);
  QVERIFY(settings.shapeCenter);
  QVERIFY(centre->isChecked());

  // The big brush's radios: each mode keeps its own radius on the one slider.
  QTest::mouseClick(panel.Control("spbBrushBig"), Qt::LeftButton);
  auto* size = qobject_cast<QScrollBar*>(panel.Control("sbBrushBigSize"));
  auto* sizeLabel = qobject_cast<QLabel*>(panel.Control("lblBrushBigSize"));
  size->setValue(25);
  QCOMPARE(settings.bigBrushRadius, 25);
  QCOMPARE(sizeLabel->text(), QString("半径25"));
  settings.undoBrushRadius = 7;
  auto* undoBrush = qobject_cast<QRadioButton*>(panel.Control("rdiBrushBig2"));
  auto* bigBrush = qobject_cast<QRadioButton*>(panel.Control("rdiBrushBig1"));
  ClickIndicator(undoBrush);
  QCOMPARE(settings.bigBrushMode, 1);
  QVERIFY(undoBrush->isChecked());
  QVERIFY(!bigBrush->isChecked());
  QCOMPARE(size->value(), 7);
  QCOMPARE(sizeLabel->text(), QString("半径7"));
  ClickIndicator(bigBrush);
  QCOMPARE(settings.bigBrushMode, 0);
  QCOMPARE(size->value(), 25);

  // The combo box's choice goes to the right-button mode.
  auto* rightButton = qobject_cast<QComboBox*>(panel.Control("cboPenErase"));
  rightButton->setCurrentIndex(2);
  QCOMPARE(settings.rightButtonMode, 2);
  QCOMPARE(core.Position("cboPenErase"), 2);
}

void ToolPanelViewTest::brushGridSelectsStampsAndShowsThem() {
  RunningProgram program;
  ToolPanelView& panel = program.windows.toolPanel;
  TfrmC& frmC = program.studio.frmC;
  QTest::mouseClick(panel.Control("spbBrush"), Qt::LeftButton);
  QWidget* grid = panel.Control("pbxBrush");
  QCOMPARE(grid->size(), QSize(128, 76));

  // The tab of page 2, then the third stamp of its second row.
  QTest::mouseClick(grid, Qt::LeftButton, Qt::NoModifier, QPoint(40, 5));
  QCOMPARE(frmC.brushPageStart, 32);
  QTest::mouseClick(grid, Qt::LeftButton, Qt::NoModifier, QPoint(40, 30));
  QCOMPARE(frmC.selectedBrush, 42);
  QCOMPARE(program.studio.toolEngine.settings.brushBrush, 42);

  // The picture as it reaches the screen, top row first: page 2's tab white, the others grey,
  // the page number written on the tab, the frame around stamp 42 (left 32, top 28).
  const QImage shown = grid->grab().toImage();
  QCOMPARE(Colour(shown, 33, 1), 0xFFFFFF);
  QCOMPARE(Colour(shown, 1, 1), 0x808080);
  QCOMPARE(Colour(shown, 100, 10), 0x808080);
  int ink = 0;
  for (int y = 0; y < 12; ++y)
    for (int x = 32; x < 64; ++x)
      if (shown.pixelColor(x, y).lightness() < 100) ++ink;
  QVERIFY(ink > 3);
  const int frame = MakeColour(64, 255, 64);
  QCOMPARE(Colour(shown, 32, 28), frame);
  QCOMPARE(Colour(shown, 47, 43), frame);
  QCOMPARE(Colour(shown, 40, 28), frame);
  QVERIFY(Colour(shown, 40, 35) != frame);

  // The eraser sizes: the third size button is pressed down.
  QTest::mouseClick(panel.Control("spbErase"), Qt::LeftButton);
  QWidget* eraser = panel.Control("pbxEraser");
  QTest::mouseClick(eraser, Qt::LeftButton, Qt::NoModifier, QPoint(50, 20));
  QCOMPARE(program.studio.toolEngine.settings.eraseSize, 3);
  QCOMPARE(Colour(eraser->grab().toImage(), 45, 17), MakeColour(0, 128, 0));
}

void ToolPanelViewTest::coreChangesReachTheWidgets() {
  RunningProgram program;
  ToolPanelView& panel = program.windows.toolPanel;
  TfrmC& frmC = program.studio.frmC;
  // A tool chosen by the core (a shortcut key, a settings file) presses its button.
  frmC.SelectTool(tkPenki);
  QVERIFY(qobject_cast<QToolButton*>(panel.Control("spbPenki"))->isChecked());
  QVERIFY(!qobject_cast<QToolButton*>(panel.Control("spbPen"))->isChecked());
  QCOMPARE(ShownGroups(panel), std::set<std::string>{"grpPenki"});
  frmC.sbPenkiRangeChange(40);
  QCOMPARE(qobject_cast<QScrollBar*>(panel.Control("sbPenkiRange"))->value(), 40);
  QCOMPARE(qobject_cast<QLabel*>(panel.Control("lblPenkiRange"))->text(), QString("対象色幅40"));
  // A setting that none of a radio group's buttons stands for shows them all released.
  program.studio.toolEngine.settings.contMode = 5;
  panel.ReadState();
  QVERIFY(!qobject_cast<QRadioButton*>(panel.Control("rdiCountLine"))->isChecked());
  QVERIFY(!qobject_cast<QRadioButton*>(panel.Control("rdiCountSpline"))->isChecked());
  // Re-reading is idempotent and sends nothing back to the core.
  const int zoom = program.studio.frmM.view.zoom;
  panel.ReadState();
  panel.ReadState();
  QCOMPARE(program.studio.frmM.view.zoom, zoom);
  QCOMPARE(program.studio.toolEngine.settings.fillRange, 40);
}

void ToolPanelViewTest::panelRefusesToClose() {
  RunningProgram program;
  ToolPanelView& panel = program.windows.toolPanel;
  QVERIFY(panel.isVisible());
  QVERIFY(!panel.close());
  QVERIFY(panel.isVisible());
  QVERIFY(panel.windowFlags() & Qt::Tool);
  QCOMPARE(panel.windowTitle(), QString("Tool"));
}

MIRASKETCH_APP_TEST_SUITE(ToolPanelViewTest);

}  // namespace mirasketch::test

#include "tool_panel_view_test.moc"
