// The main window's menu and tool bar, the window switches, the start-up windows, drops and the
// dialogs reached from the menu.

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <set>

#include "app_test.h"
#include "main_window_view.h"
#include "shell/main_window.h"
#include "tool_bar_glyphs.h"

namespace mirasketch::test {

class MainWindowViewTest : public QObject {
  Q_OBJECT

 private slots:
  void menuAndToolBarAreBuiltFromTheTables();
  void startUpShowsTheCanvasAndTheToolPanelOnly();
  void windowSwitchesKeepMenuAndButtonInStep();
  void toolPanelRefusesToClose();
  void glyphsAreVisibleAndDistinct();
  void dropOpensTheFirstLocalFileOnly();
  void droppedPathsAreCutByCharacters();
  void settingsVersionAndHelpCommands();
  void menuShortcutsWorkFromTheCanvasWindow();
  void confirmedCloseEndsTheProgram();
};

void MainWindowViewTest::menuAndToolBarAreBuiltFromTheTables() {
  RunningProgram program;
  MainWindowView& main = program.windows.main;
  QCOMPARE(main.objectName(), QString("frmMain"));
  QCOMPARE(main.windowTitle(), QString("Mirasketch"));
  QCOMPARE(main.pos(), QPoint(453, 46));
  QCOMPARE(main.height() - main.menuBar()->height(), 26);
  QVERIFY(main.width() >= 220);

  QStringList titles;
  for (QAction* top : main.menuBar()->actions()) titles << top->text();
  QCOMPARE(titles, QStringList({"ﾌｧｲﾙ(&F)", "編集(&E)", "ｳｨﾝﾄﾞｳ(&W)", "&?"}));

  int items = 0;
  for (const MenuEntry& entry : MainMenu()) {
    if (entry.kind != MenuEntry::kItem) continue;
    ++items;
    QAction* action = program.Action(entry.name);
    QVERIFY2(action != nullptr, entry.name);
    QCOMPARE(action->text(), QString::fromUtf8(entry.caption));
    QCOMPARE(action->shortcut(), QKeySequence(QString::fromUtf8(entry.shortcut)));
    QCOMPARE(action->isCheckable(), QString(entry.name).startsWith("mnuWin"));
  }
  QCOMPARE(items, 35);
  // Redo follows undo in the edit menu.
  const QList<QAction*> edit = main.menuBar()->actions().at(1)->menu()->actions();
  const qsizetype undo = edit.indexOf(program.Action("mnuUndo"));
  QVERIFY(undo >= 0 && undo + 1 < edit.size());
  QCOMPARE(edit.at(undo + 1), program.Action("mnuRedo"));
  QCOMPARE(program.Action("mnuRedo")->text(), QString("やり直し"));
  QCOMPARE(program.Action("mnuOpenFile")->shortcut(), QKeySequence("Ctrl+O"));
  QCOMPARE(program.Action("mnuPaste")->shortcut(), QKeySequence("Ctrl+V"));
  QCOMPARE(program.Action("mnuPastFile7")->text(), QString("(empty)"));

  const char* buttons[] = {"tlbNewBmp",   "tlbOpen",        "tlbSave",      "tlbWinPaint",
                           "tlbWinColor", "tlbWinPosition", "tlbWinOption", "tlbWinLayer"};
  for (const char* name : buttons) {
    QToolButton* button = program.Button(name);
    QVERIFY2(button != nullptr, name);
    QVERIFY2(!button->icon().isNull(), name);
    QCOMPARE(button->isCheckable(), QString(name).startsWith("tlbWin"));
    QVERIFY(button->height() <= 26);
  }
  // The toggles start as the windows do: only the canvas window is on.
  QVERIFY(program.Button("tlbWinPaint")->isChecked());
  QVERIFY(program.Action("mnuWinPaint")->isChecked());
  for (const char* name : {"tlbWinColor", "tlbWinPosition", "tlbWinOption", "tlbWinLayer"})
    QVERIFY2(!program.Button(name)->isChecked(), name);
}

void MainWindowViewTest::startUpShowsTheCanvasAndTheToolPanelOnly() {
  RunningProgram program;
  struct Expected {
    const char* name;
    const char* caption;
    bool visible;
  };
  const Expected windows[] = {
      {"frmMain", "Mirasketch", true},
      {"frmM", "(New Layer Project)", true},
      {"frmC", "Tool", true},
      {"frmCol", "色", false},
      {"frmMaskEff", "マスク効果", false},
      {"frmOpt", "オプション", false},
      {"frmPos", "位置", false},
      {"frmMaskSet", "マスク", false},
      {"frmL", "レイヤ", false},
      {"frmT", "拡大縮小回転変形", false},
  };
  for (const Expected& expected : windows) {
    QWidget* window = program.Window(expected.name);
    QVERIFY2(window != nullptr, expected.name);
    QCOMPARE(window->windowTitle(), QString::fromUtf8(expected.caption));
    QCOMPARE(window->isVisible(), expected.visible);
  }
  QCOMPARE(program.Window("frmM")->size(), QSize(279, 295));
  QCOMPARE(program.Window("frmC")->size(), QSize(136, 244));
  QCOMPARE(program.Window("frmC")->pos(), QPoint(222, 10));
  QCOMPARE(program.Window("frmCol")->size(), QSize(128, 134));
  QCOMPARE(program.Window("frmCol")->pos(), QPoint(292, 120));
  QCOMPARE(program.Window("frmOpt")->size(), QSize(200, 65));
  QCOMPARE(program.Window("frmPos")->size(), QSize(153, 187));
  QCOMPARE(program.Window("frmMaskSet")->size(), QSize(312, 162));
  QCOMPARE(program.Window("frmL")->size(), QSize(196, 117));
  // The transform window's client area lies under its menu bar.
  QCOMPARE(program.windows.transform.Canvas()->size(), QSize(400, 427));
  QVERIFY(program.Window("frmC")->windowFlags() & Qt::Tool);
  // Every window of the table has its view, made from its row.
  for (const WindowRow& row : WindowTable()) {
    QCOMPARE(program.windows.Window(row.id).objectName(), QString(row.objectName));
    QCOMPARE(program.Window(row.objectName), &program.windows.Window(row.id));
  }
}

void MainWindowViewTest::windowSwitchesKeepMenuAndButtonInStep() {
  RunningProgram program;
  struct Switch {
    const char* item;
    const char* button;
    const char* window;
  };
  const Switch switches[] = {
      {"mnuWinColor", "tlbWinColor", "frmCol"},   {"mnuWinPosition", "tlbWinPosition", "frmPos"},
      {"mnuWinOption", "tlbWinOption", "frmOpt"}, {"mnuWinLayer", "tlbWinLayer", "frmL"},
      {"mnuWinPaint", "tlbWinPaint", "frmM"},
  };
  for (const Switch& s : switches) {
    QAction* item = program.Action(s.item);
    QToolButton* button = program.Button(s.button);
    QWidget* window = program.Window(s.window);
    const bool initially = window->isVisible();
    auto expect = [&](bool shown) {
      return window->isVisible() == shown && item->isChecked() == shown &&
             button->isChecked() == shown;
    };
    QVERIFY2(expect(initially), s.window);
    item->trigger();
    QVERIFY2(expect(!initially), s.item);
    item->trigger();
    QVERIFY2(expect(initially), s.item);
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY2(expect(!initially), s.button);
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY2(expect(initially), s.button);
    // The window's own close button switches it off everywhere.
    if (!window->isVisible()) item->trigger();
    QVERIFY(window->close());
    QVERIFY2(expect(false), s.window);
  }
  QVERIFY(!program.studio.frmM.visible);
}

void MainWindowViewTest::toolPanelRefusesToClose() {
  RunningProgram program;
  QWidget* panel = program.Window("frmC");
  QVERIFY(!panel->close());
  QVERIFY(panel->isVisible());
}

void MainWindowViewTest::glyphsAreVisibleAndDistinct() {
  std::set<QByteArray> seen;
  for (int i = 0; i < 8; ++i) {
    const QImage glyph = ToolBarGlyphImage(i);
    QCOMPARE(glyph.size(), QSize(16, 16));
    int opaque = 0;
    int dark = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        const QColor c = glyph.pixelColor(x, y);
        if (c.alpha() > 128) ++opaque;
        if (c.alpha() > 128 && c.lightness() < 100) ++dark;
      }
    // Enough ink to be seen, an outline to stand out on a light bar, room left around it.
    QVERIFY2(opaque >= 40 && opaque <= 240, qPrintable(QString::number(i)));
    QVERIFY2(dark >= 8, qPrintable(QString::number(i)));
    seen.insert(QByteArray(reinterpret_cast<const char*>(glyph.constBits()), glyph.sizeInBytes()));
  }
  QCOMPARE(seen.size(), std::size_t{8});
  QVERIFY(ToolBarGlyphImage(8).isNull());
  QVERIFY(ToolBarGlyphImage(-1).isNull());
}

void MainWindowViewTest::dropOpensTheFirstLocalFileOnly() {
  RunningProgram program;
  const std::string first = program.folder.File("first.bmp");
  const std::string second = program.folder.File("second.bmp");
  WriteWhiteBmp(first, 40, 30);
  WriteWhiteBmp(second, 60, 50);

  QMimeData remote;
  remote.setUrls({QUrl("https://example.org/x.bmp")});
  QDragEnterEvent refused(QPoint(5, 5), Qt::CopyAction, &remote, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&program.windows.main, &refused);
  QVERIFY(!refused.isAccepted());

  QMimeData files;
  files.setUrls({QUrl("https://example.org/x.bmp"),
                 QUrl::fromLocalFile(QString::fromStdString(first)),
                 QUrl::fromLocalFile(QString::fromStdString(second))});
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&program.windows.main, &enter);
  QVERIFY(enter.isAccepted());
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&program.windows.main, &drop);

  QCOMPARE(program.studio.project.CanvasWidth(), 40);
  QCOMPARE(program.Window("frmM")->windowTitle(), QString::fromStdString(first));
  QCOMPARE(program.ItemText("mnuPastFile0"), QString::fromStdString(first));
  QCOMPARE(program.ItemText("mnuPastFile1"), QString("(empty)"));
  QCOMPARE(program.ItemText("mnuOpenPF0"), QString::fromStdString(program.folder.Path()));
  QVERIFY(program.platform.shown.empty());
}

void MainWindowViewTest::droppedPathsAreCutByCharacters() {
  QCOMPARE(DroppedPath("/tmp/a.bmp", 254), QString("/tmp/a.bmp"));
  const QString ascii(300, 'x');
  QCOMPARE(DroppedPath(ascii, 254), QString(254, 'x'));
  // Characters, not bytes or UTF-16 units: a path of kana and of characters outside the basic
  // plane keeps 254 whole characters.
  const QString kana = QString("あ").repeated(300);
  QCOMPARE(DroppedPath(kana, 254), QString("あ").repeated(254));
  const QString wide = QString::fromUtf8("\xF0\x9F\x96\x8C").repeated(300);
  QCOMPARE(DroppedPath(wide, 254).toStdU32String().size(), std::size_t{254});
  QCOMPARE(PlainMenuCaption("/tmp/R&D/a.bmp"), QString("/tmp/R&&D/a.bmp"));
}

void MainWindowViewTest::settingsVersionAndHelpCommands() {
  RunningProgram program;
  // The settings dialog shows the values and OK takes what was typed, by the dialog's rules.
  QString shown[2];
  WhenModal([&shown](QDialog* dialog) {
    QCOMPARE(dialog->windowTitle(), QString("設定"));
    auto* undo = dialog->findChild<QLineEdit*>("edtUndoCount");
    auto* quality = dialog->findChild<QLineEdit*>("edtJPGSave");
    QVERIFY(undo != nullptr && quality != nullptr);
    shown[0] = undo->text();
    shown[1] = quality->text();
    undo->setText("16");
    quality->setText("250");
    QTest::keyClick(undo, Qt::Key_Return);
  });
  program.Action("mnuSetting")->trigger();
  QVERIFY(ModalStepRan());
  QCOMPARE(shown[0], QString("2"));
  QCOMPARE(shown[1], QString("100"));
  QCOMPARE(program.studio.frmM.undoLevels, 15);
  QCOMPARE(program.studio.pictureFiles.jpegQuality, 100);
  // Esc after editing keeps both.
  WhenModal([](QDialog* dialog) {
    dialog->findChild<QLineEdit*>("edtUndoCount")->setText("3");
    QTest::keyClick(dialog, Qt::Key_Escape);
  });
  program.Action("mnuSetting")->trigger();
  QVERIFY(ModalStepRan());
  QCOMPARE(program.studio.frmM.undoLevels, 15);

  QString name, version;
  WhenModal([&](QDialog* dialog) {
    QCOMPARE(dialog->windowTitle(), QString("バージョン情報"));
    name = dialog->findChild<QLabel*>("ProductName")->text();
    version = dialog->findChild<QLabel*>("Version")->text();
    QVERIFY(!dialog->findChild<QLabel*>("ProgramIcon")->pixmap().isNull());
    dialog->findChild<QPushButton*>("OKButton")->click();
  });
  program.Action("mnuabout")->trigger();
  QVERIFY(ModalStepRan());
  QCOMPARE(name, QString("Mirasketch"));
  QCOMPARE(version, QString("Version 1.12"));
  QVERIFY(program.platform.shown.empty());

  program.Action("mnuHelpContents")->trigger();
  QCOMPARE(program.platform.helpShown.size(), std::size_t{1});
  QCOMPARE(program.platform.helpShown[0], program.folder.Path() + "/korvel.html");
}

void MainWindowViewTest::menuShortcutsWorkFromTheCanvasWindow() {
  RunningProgram program;
  QWidget* canvas = program.Window("frmM");
  canvas->activateWindow();
  QApplication::setActiveWindow(canvas);
  QTest::keyClick(canvas, Qt::Key_O, Qt::ControlModifier);
  QCOMPARE(program.platform.openRequests.size(), std::size_t{1});
  QTest::keyClick(canvas, Qt::Key_S, Qt::ControlModifier);
  QCOMPARE(program.platform.saveRequests.size(), std::size_t{1});
}

void MainWindowViewTest::confirmedCloseEndsTheProgram() {
  // The tool panel refuses to close; the program must end all the same, both from the main
  // window's close button and from the exit command.
  for (const bool fromMenu : {false, true}) {
    RunningProgram program(true);
    QVERIFY(program.Window("frmC")->isVisible());
    QTimer::singleShot(0, [&program, fromMenu] {
      if (fromMenu)
        program.Action("mnuExit")->trigger();
      else
        program.windows.main.close();
    });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    guard.start(3000);
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(program.views.ShuttingDown());
  }
}

MIRASKETCH_APP_TEST_SUITE(MainWindowViewTest);

}  // namespace mirasketch::test

#include "main_window_view_test.moc"
