// Mirasketch, the Qt program: the application object, the platform and the views, the studio
// that holds every module, and the windows in their start-up order.

#include <QCoreApplication>
#include <QTimer>
#include <cstdlib>
#include <string>
#include <vector>

#include "app_views.h"
#include "application.h"
#include "freetype_font_engine.h"
#include "platform/recovery_folder.h"
#include "program_windows.h"
#include "qt_platform.h"
#include "shell/studio.h"

namespace {

// The interval between recovery writes: two minutes, or the seconds MIRASKETCH_AUTOSAVE_SECONDS
// gives (0 writes after every change), which tests use.
std::int64_t AutosaveIntervalMs() {
  const char* seconds = std::getenv("MIRASKETCH_AUTOSAVE_SECONDS");
  if (seconds == nullptr || seconds[0] == '\0') return mirasketch::kAutosaveIntervalMs;
  char* end = nullptr;
  const long value = std::strtol(seconds, &end, 10);
  if (*end != '\0' || value < 0 || value > 86400) return mirasketch::kAutosaveIntervalMs;
  return static_cast<std::int64_t>(value) * 1000;
}

}  // namespace

int main(int argc, char** argv) {
  mirasketch::MirasketchApplication app(argc, argv);
  mirasketch::SetProgramFont(app);

  mirasketch::QtPlatform platform;
  mirasketch::AppViews views(platform);
  mirasketch::Studio studio(platform, views);
  mirasketch::ProgramWindows windows(studio, views);
  // Text mode of the transform window draws with the system's fonts.
  mirasketch::FreeTypeFontEngine fonts;
  studio.frmT.SetFontEngine(&fonts);
  // The data files (brush sheet, palette) and the help lie beside the program.
  studio.programDir = (QCoreApplication::applicationDirPath() + "/").toStdString();

  // Asked to terminate, the program closes like the user closing the main window: the close
  // handler may still ask about an unsaved picture.
  app.OnTerminationRequest([&windows] { windows.main.close(); });

  // Recovery copies of unsaved work live in the user's cache folder; a finished write is
  // collected within a second.
  studio.autosave.Enable(mirasketch::RecoveryFolder::DefaultPath(), AutosaveIntervalMs());
  QTimer autosavePoll;
  QObject::connect(&autosavePoll, &QTimer::timeout,
                   [&views, &studio] { views.Forward([&studio] { studio.autosave.Poll(); }); });
  autosavePoll.start(1000);

  // Qt has taken its own options out of argv; what is left after the program name is ours.
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  windows.main.show();
  views.Forward([&studio] { studio.frmMain.FormShow(); });
  // Work a previous run left unsaved is offered before a file named on the command line opens.
  views.Forward([&studio] { studio.autosave.OfferRecovery(); });
  // A file named on the command line opens once the windows are up.
  views.Forward([&studio, &arguments] { studio.frmMain.OpenAtStartUp(arguments); });
  return mirasketch::MirasketchApplication::exec();
}
