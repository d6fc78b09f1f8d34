// make_data OUTDIR: writes the program's data files into OUTDIR (created when missing): the brush
// sheet OUTDIR/brush.bmp, the ruler templates OUTDIR/Ruler.dat and the desktop icon at each of its
// sizes, OUTDIR/icons/hicolor/<N>x<N>/apps/mirasketch.png.

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "app_icon.h"
#include "brush_sheet.h"
#include "ruler_data.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_data OUTDIR\n");
    return 2;
  }
  const std::filesystem::path folder(argv[1]);
  std::vector<std::filesystem::path> folders{folder};
  for (const int size : mirasketch::icons::kAppIconSizes)
    folders.push_back((folder / mirasketch::icons::AppIconPath(size)).parent_path());
  for (const std::filesystem::path& made : folders) {
    std::error_code error;
    std::filesystem::create_directories(made, error);
    if (error) {
      std::fprintf(stderr, "make_data: cannot create %s: %s\n", made.c_str(),
                   error.message().c_str());
      return 1;
    }
  }
  const std::string brushSheet = (folder / "brush.bmp").string();
  const std::string rulers = (folder / "Ruler.dat").string();
  try {
    mirasketch::brushes::WriteBrushSheet(brushSheet);
    mirasketch::rulers::WriteRulerData(rulers);
    for (const int size : mirasketch::icons::kAppIconSizes) {
      const std::string icon = (folder / mirasketch::icons::AppIconPath(size)).string();
      mirasketch::icons::WriteAppIcon(icon, size);
      std::printf("%s\n", icon.c_str());
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_data: %s\n", e.what());
    return 1;
  }
  std::printf("%s\n%s\n", brushSheet.c_str(), rulers.c_str());
  return 0;
}
