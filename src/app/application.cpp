#include "application.h"

#include <sys/socket.h>
#include <unistd.h>
#include <QFontDatabase>
#include <QSocketNotifier>
#include <csignal>

namespace mirasketch {

namespace {

// The signal handler writes one byte here; the event loop reads it from the other end.
int signalPipe[2] = {-1, -1};

extern "C" void OnSignal(int) {
  const char byte = 1;
  if (signalPipe[0] >= 0) {
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[0], &byte, 1);
  }
}

constexpr const char* kFontFamily = "IPAPGothic";
constexpr const char* kFontFile = "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf";

}  // namespace

MirasketchApplication::MirasketchApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName("Mirasketch");
  // The program ends when the main window's close is confirmed, not when some window closes last.
  setQuitOnLastWindowClosed(false);
}

MirasketchApplication::~MirasketchApplication() {
  if (signalNotifier_ != nullptr) {
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGHUP, SIG_DFL);
    delete signalNotifier_;
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
  }
}

void MirasketchApplication::OnTerminationRequest(std::function<void()> request) {
  terminationRequest_ = std::move(request);
  if (signalNotifier_ != nullptr) return;
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) return;
  signalNotifier_ = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read);
  connect(signalNotifier_, &QSocketNotifier::activated, this,
          &MirasketchApplication::ReadTerminationSignal);
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
}

void MirasketchApplication::ReadTerminationSignal() {
  char byte = 0;
  [[maybe_unused]] const ssize_t read = ::read(signalPipe[1], &byte, 1);
  if (terminationRequest_) terminationRequest_();
}

bool SetProgramFont(QApplication& application) {
  if (!QFontDatabase::families().contains(kFontFamily) &&
      QFontDatabase::addApplicationFont(kFontFile) < 0)
    return false;
  QFont::insertSubstitution("ＭＳ Ｐゴシック", kFontFamily);
  QFont font(kFontFamily);
  font.setPixelSize(12);
  application.setFont(font);
  return true;
}

}  // namespace mirasketch
