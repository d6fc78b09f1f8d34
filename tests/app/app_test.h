#pragma once

#include <QDialog>
#include <QEvent>
#include <QImage>
#include <QPoint>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app_views.h"
#include "program_windows.h"
#include "shell/studio.h"
#include "support/fake_platform.h"
#include "support/temp_dir.h"

class QAction;
class QMimeData;
class QObject;
class QToolButton;

namespace mirasketch::test {

// The registry of the view test classes, so one test program runs any of them by name.
using SuiteFactory = std::function<std::unique_ptr<QObject>()>;
std::vector<std::pair<std::string, SuiteFactory>>& AppTestSuites();
struct RegisterAppTestSuite {
  RegisterAppTestSuite(const char* name, SuiteFactory make) {
    AppTestSuites().emplace_back(name, std::move(make));
  }
};
#define MIRASKETCH_APP_TEST_SUITE(Class)                                 \
  static const ::mirasketch::test::RegisterAppTestSuite register##Class( \
      #Class, [] { return std::make_unique<Class>(); })

// The whole program as it stands after start-up, on a fake platform: the studio, the views and
// every window, the main window shown and its first-show sequence run. Files go to a fresh folder.
struct RunningProgram {
  // With `realQuit` a confirmed close ends the application's event loop as in the program;
  // otherwise it is only counted. The program's folder is `programFolder` when given (a second
  // run over the first one's settings), else a fresh one.
  explicit RunningProgram(bool realQuit = false, const TempDir* programFolder = nullptr);
  ~RunningProgram();

  QAction* Action(const char* name) const;
  QToolButton* Button(const char* name) const;
  QWidget* Window(const char* name) const;
  // The text of a menu item as the user reads it ("&&" shown as "&").
  QString ItemText(const char* name) const;

  TempDir folder;
  FakePlatform platform;
  AppViews views{platform};
  Studio studio{platform, views};
  ProgramWindows windows{studio, views};
  int quitRequests = 0;
};

// The colour (0x00BBGGRR) of pixel (x, y) of an image a widget showed.
int Colour(const QImage& image, int x, int y);

// Runs `step` on the first modal dialog that opens within five seconds, from inside its event
// loop. A dialog the step leaves open is rejected afterwards, so a failing step cannot hang.
void WhenModal(std::function<void(QDialog*)> step);
// Drops a WhenModal whose dialog never came.
void CancelWhenModal();
// Whether `step` ran on a dialog since the last WhenModal.
bool ModalStepRan();

// Sends a mouse press, move or release at `at` with `buttons` held (a press or release is of the
// left button).
void SendMouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// Offers a drag of `data` (which it takes over) at `at` and, when the widget takes it, drops it
// there. True when the widget accepted both.
bool DragAndDrop(QWidget* widget, QPoint at, QMimeData* data);

// Writes a white BMP picture; with markColour ≥ 0 its pixel (1, 1) gets that colour.
void WriteWhiteBmp(const std::string& path, int width, int height, int markColour = -1);

}  // namespace mirasketch::test
