// The program closed and started again over the same folder: what the user set in every window
// comes back.

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "app_test.h"

namespace mirasketch::test {

class SettingsRestartTest : public QObject {
  Q_OBJECT

 private slots:
  void everyKeptValueComesBack();
};

void SettingsRestartTest::everyKeptValueComesBack() {
  TempDir folder;
  QPoint colourPlace;
  {
    RunningProgram program(false, &folder);
    Studio& studio = program.studio;
    // Tool options and stamps through the tool panel, the colour through its sliders.
    studio.frmC.Click("spbBox");
    studio.frmC.Click("chkShapeFill");
    studio.frmC.Click("spbBrush");
    studio.frmC.pbxBrushMouseDown(70, 30);  // the brush grid's stamp 12
    studio.frmC.Click("spbPen");
    program.Action("mnuWinColor")->trigger();
    program.Action("mnuWinLayer")->trigger();
    QWidget* colour = program.Window("frmCol");
    QVERIFY(colour != nullptr && colour->isVisible());
    colour->findChild<QScrollBar*>("sbColGreen")->setValue(200);
    colour->move(333, 222);
    program.Window("frmM")->resize(500, 400);
    QApplication::processEvents();
    colourPlace = colour->pos();
    // Undo levels and quality through the settings dialog; a recent file.
    WhenModal([](QDialog* dialog) {
      dialog->findChild<QLineEdit*>("edtUndoCount")->setText("7");
      dialog->findChild<QLineEdit*>("edtJPGSave")->setText("55");
      dialog->findChild<QPushButton*>("OKBtn")->click();
    });
    program.Action("mnuSetting")->trigger();
    QVERIFY(ModalStepRan());
    studio.frmMain.AddRecentFile("/pictures/last.kvl");
    program.Action("mnuExit")->trigger();
    QCOMPARE(program.quitRequests, 1);
  }
  RunningProgram again(false, &folder);
  Studio& studio = again.studio;
  const ToolSettings& s = studio.toolEngine.settings;
  QVERIFY(s.shapeFill);
  QCOMPARE(s.brushBrush, 12);
  QCOMPARE(s.drawColor, static_cast<std::uint32_t>(MakeColour(0, 200, 0)));
  QCOMPARE(studio.frmM.undoLevels, 7);
  QCOMPARE(studio.pictureFiles.jpegQuality, 55);
  QCOMPARE(studio.frmMain.recentFiles[0], std::string("/pictures/last.kvl"));
  QCOMPARE(again.ItemText("mnuPastFile0"), QString("/pictures/last.kvl"));
  QVERIFY(again.Window("frmCol")->isVisible());
  QVERIFY(again.Window("frmL")->isVisible());
  QVERIFY(again.Action("mnuWinColor")->isChecked());
  QCOMPARE(again.Window("frmCol")->pos(), colourPlace);
  QCOMPARE(again.Window("frmM")->size(), QSize(500, 400));
  QCOMPARE(again.Window("frmCol")->findChild<QScrollBar*>("sbColGreen")->value(), 200);
}

MIRASKETCH_APP_TEST_SUITE(SettingsRestartTest);

}  // namespace mirasketch::test

#include "settings_restart_test.moc"
