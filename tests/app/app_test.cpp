#include "app_test.h"

#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QToolButton>
#include <chrono>
#include <filesystem>

#include "buffers/dib_true.h"

namespace mirasketch::test {

std::vector<std::pair<std::string, SuiteFactory>>& AppTestSuites() {
  static std::vector<std::pair<std::string, SuiteFactory>> suites;
  return suites;
}

RunningProgram::RunningProgram(bool realQuit, const TempDir* programFolder) {
  if (!realQuit) views.quit = [this] { ++quitRequests; };
  // The program's folder holds its data files, as an installed program's does.
  const std::string dir = (programFolder != nullptr ? *programFolder : folder).Path();
  const auto copy = std::filesystem::copy_options::skip_existing;
  std::filesystem::copy_file(MIRASKETCH_BRUSH_SHEET, dir + "/brush.bmp", copy);
  std::filesystem::copy_file(MIRASKETCH_RULER_DATA, dir + "/Ruler.dat", copy);
  studio.programDir = dir + "/";
  windows.main.show();
  studio.frmMain.FormShow();
  QApplication::processEvents();
}

int Colour(const QImage& image, int x, int y) {
  const QColor c = image.pixelColor(x, y);
  return MakeColour(c.red(), c.green(), c.blue());
}

RunningProgram::~RunningProgram() {
  // Leave no dialog watcher or cursor behind for the next test.
  CancelWhenModal();
  while (QApplication::overrideCursor() != nullptr) QApplication::restoreOverrideCursor();
}

QAction* RunningProgram::Action(const char* name) const {
  return windows.main.findChild<QAction*>(name);
}

QToolButton* RunningProgram::Button(const char* name) const {
  return windows.main.findChild<QToolButton*>(name);
}

QWidget* RunningProgram::Window(const char* name) const {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (widget->objectName() == name) return widget;
  return nullptr;
}

QString RunningProgram::ItemText(const char* name) const {
  const QAction* action = Action(name);
  return action != nullptr ? QString(action->text()).replace("&&", "&") : QString("<missing>");
}

namespace {
bool stepRan = false;
QPointer<QTimer> pending;
}  // namespace

void CancelWhenModal() {
  if (pending) {
    pending->stop();
    pending->deleteLater();
  }
  pending = nullptr;
}

void WhenModal(std::function<void(QDialog*)> step) {
  CancelWhenModal();
  stepRan = false;
  auto* timer = new QTimer;
  pending = timer;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, step, deadline] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) {
      if (std::chrono::steady_clock::now() > deadline) {
        timer->stop();
        timer->deleteLater();
      }
      return;
    }
    timer->stop();
    timer->deleteLater();
    stepRan = true;
    step(dialog);
    if (dialog->isVisible()) dialog->reject();
  });
  timer->start();
}

bool ModalStepRan() {
  return stepRan;
}

void WriteWhiteBmp(const std::string& path, int width, int height, int markColour) {
  CDibTrue picture;
  picture.Alloc(width, height);
  picture.FillRect(0, 0, picture.Width(), picture.Height(), 0xFFFFFF);
  if (markColour >= 0) picture.SetPixel(1, 1, markColour);
  SilentMessages messages;
  picture.SaveToBmp(path, messages);
}

void SendMouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers) {
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), button, buttons,
                    modifiers);
  QApplication::sendEvent(widget, &event);
}

bool DragAndDrop(QWidget* widget, QPoint at, QMimeData* data) {
  std::unique_ptr<QMimeData> owned(data);
  QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(QPointF(at), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &drop);
  return drop.isAccepted();
}

}  // namespace mirasketch::test
