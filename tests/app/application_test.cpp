// The application object and the program's font.

#include <QFontInfo>
#include <QTest>

#include "app_test.h"
#include "application.h"
#include "platform/io_error.h"

namespace mirasketch::test {

namespace {

// An object whose event handler fails the way file code does.
class Failing : public QObject {
 public:
  bool event(QEvent* event) override {
    if (event->type() == QEvent::User) throw IoError("/tmp/x.kvl に書き込めません");
    if (event->type() == QEvent::User + 1) throw std::runtime_error("bad_alloc somewhere");
    return QObject::event(event);
  }
};

}  // namespace

class ApplicationTest : public QObject {
  Q_OBJECT

 private slots:
  void escapedErrorsAreShownAndTheProgramGoesOn();
  void programFontStandsInForTheDesignFont();
};

void ApplicationTest::escapedErrorsAreShownAndTheProgramGoesOn() {
  auto* app = qobject_cast<MirasketchApplication*>(QCoreApplication::instance());
  QVERIFY(app != nullptr);
  QStringList shown;
  const auto previous = app->showError;
  app->showError = [&shown](const QString& text) { shown << text; };
  Failing failing;
  QEvent io(QEvent::User);
  QVERIFY(!QCoreApplication::sendEvent(&failing, &io));
  QEvent other(static_cast<QEvent::Type>(QEvent::User + 1));
  QVERIFY(!QCoreApplication::sendEvent(&failing, &other));
  QEvent fine(QEvent::Timer);
  QCoreApplication::sendEvent(&failing, &fine);
  app->showError = previous;
  QCOMPARE(shown, QStringList({"/tmp/x.kvl に書き込めません", "bad_alloc somewhere"}));
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
