#pragma once

#include <QApplication>
#include <functional>

class QSocketNotifier;

namespace mirasketch {

// The application object. An input/output error or any other exception that escapes an event
// handler is shown to the user and the program keeps running.
class MirasketchApplication : public QApplication {
  Q_OBJECT

 public:
  MirasketchApplication(int& argc, char** argv);
  ~MirasketchApplication() override;

  bool notify(QObject* receiver, QEvent* event) override;

  // Runs `request` on the event loop when the process is asked to terminate (SIGTERM, SIGINT,
  // SIGHUP), so the program can close as if the user closed it.
  void OnTerminationRequest(std::function<void()> request);

  // How an escaped error is shown; a warning box unless a test replaces it.
  std::function<void(const QString&)> showError;

 private:
  void ReadTerminationSignal();

  std::function<void()> terminationRequest_;
  QSocketNotifier* signalNotifier_ = nullptr;
};

// Sets the program's font: IPAPGothic at 12 pixels, which also stands in for the design font
// "ＭＳ Ｐゴシック". False when the font is not installed (the toolkit's font is kept).
bool SetProgramFont(QApplication& application);

}  // namespace mirasketch
