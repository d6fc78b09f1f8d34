// Mirasketch, the Qt program: the application object, the platform and the views, the studio
// that holds every module, and the windows in their start-up order.

#include <QCoreApplication>
#include <string>
#include <vector>

#include "app_views.h"
#include "application.h"
#include "freetype_font_engine.h"
#include "program_windows.h"
#include "qt_platform.h"
#include "shell/studio.h"

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

  // Qt has taken its own options out of argv; what is left after the program name is ours.
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  windows.main.show();
  views.Forward([&studio] { studio.frmMain.FormShow(); });
  // A file named on the command line opens once the windows are up.
  views.Forward([&studio, &arguments] { studio.frmMain.OpenAtStartUp(arguments); });
  return mirasketch::MirasketchApplication::exec();
}
