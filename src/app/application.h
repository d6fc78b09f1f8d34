#pragma once

#include <QApplication>
#include <functional>

class QSocketNotifier;

namespace mirasketch {

// The application object: the program's name, its end only at a confirmed close, and the
// termination signals turned into that close.
class MirasketchApplication : public QApplication {
  Q_OBJECT

 public:
  MirasketchApplication(int& argc, char** argv);
  ~MirasketchApplication() override;

  // Runs `request` on the event loop when the process is asked to terminate (SIGTERM, SIGINT,
  // SIGHUP), so the program can close as if the user closed it.
  void OnTerminationRequest(std::function<void()> request);

 private:
  void ReadTerminationSignal();

  std::function<void()> terminationRequest_;
  QSocketNotifier* signalNotifier_ = nullptr;
};

// Sets the program's font: IPAPGothic at 12 pixels, which also stands in for the design font
// "ＭＳ Ｐゴシック". False when the font is not installed (the toolkit's font is kept).
bool SetProgramFont(QApplication& application);

}  // namespace mirasketch
