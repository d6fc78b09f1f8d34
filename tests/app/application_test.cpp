// The application object and the program's font.

#include <QFontInfo>
#include <QTest>

#include "app_test.h"
#include "application.h"

namespace mirasketch::test {

class ApplicationTest : public QObject {
  Q_OBJECT

 private slots:
  void errorsEndTheEventWhereItEntersTheCore();
  void programFontStandsInForTheDesignFont();
};

void ApplicationTest::errorsEndTheEventWhereItEntersTheCore() {
  RunningProgram program;
  // A save into a folder that does not exist fails with an input/output error inside the core;
  // the menu's event shows its message and ends, and the program goes on.
  const std::string missing = program.folder.Path() + "/no such folder/picture.kvl";
  program.platform.saveFiles = {missing};
  program.Action("mnuSaveFileAs")->trigger();
  QCOMPARE(program.platform.shown.size(), std::size_t{1});
  QVERIFY(program.platform.shown[0].find(missing) != std::string::npos);
  QVERIFY(program.windows.main.isVisible());
  const std::string saved = program.folder.Path() + "/picture.kvl";
  program.platform.saveFiles = {saved};
  program.Action("mnuSaveFileAs")->trigger();
  QCOMPARE(program.studio.project.projectFileName, saved);
  QCOMPARE(program.platform.shown.size(), std::size_t{1});
  // Memory that ran out ends the event the same way.
  QVERIFY(!program.views.Forward([] { throw std::bad_alloc(); }));
  QCOMPARE(program.platform.shown.back(), std::string(kOutOfMemoryMessage));
  QVERIFY(!QApplication::quitOnLastWindowClosed());
  QCOMPARE(QCoreApplication::applicationName(), QString("Mirasketch"));
}

void ApplicationTest::programFontStandsInForTheDesignFont() {
  const QFont font = QApplication::font();
  QCOMPARE(font.family(), QString("IPAPGothic"));
  QCOMPARE(font.pixelSize(), 12);
  QCOMPARE(QFontInfo(font).family(), QString("IPAPGothic"));
  QFont design("ＭＳ Ｐゴシック");
  design.setPixelSize(12);
  QCOMPARE(QFontInfo(design).family(), QString("IPAPGothic"));
}

MIRASKETCH_APP_TEST_SUITE(ApplicationTest);

}  // namespace mirasketch::test

#include "application_test.moc"
