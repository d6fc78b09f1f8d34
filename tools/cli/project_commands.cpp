#include <charconv>
#include <iostream>
#include <string>

#include "commands.h"
#include "headless_studio.h"
#include "project/compositor.h"
#include "project/kvl_file.h"
#include "project/picture_file.h"
#include "shell/studio.h"

namespace mirasketch::cli {
namespace {

bool ParseInt(const char* text, int& value) {
  const std::string s(text);
  auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
  return error == std::errc() && end == s.data() + s.size();
}

}  // namespace

// info FILE.kvl: the canvas and every layer's size and properties, bottom layer first.
int RunInfo(std::span<char* const> args) {
  if (args.size() != 1) {
    std::cerr << "usage: mirasketch-cli info FILE.kvl\n";
    return 2;
  }
  HeadlessStudio headless;
  LayerProject& project = headless.studio.project;
  if (!ReadProjectFile(project, args[0])) return 1;
  std::cout << "canvas " << project.CanvasWidth() << ' ' << project.CanvasHeight() << " layers "
            << project.layerCount << '\n';
  for (int i = 0; i < project.layerCount; ++i) {
    const CDibTM& layer = project.Layer(i);
    std::cout << "layer " << i << ' ' << layer.Width() << ' ' << layer.Height() << " visible "
              << (layer.visible ? 1 : 0) << " mode " << layer.composeMode << " threshold "
              << layer.threshold << " offset " << layer.offsetX << ' ' << layer.offsetY << '\n';
  }
  return 0;
}

// flatten FILE.kvl OUT.bmp|OUT.jpg|OUT.png: the whole canvas composed over the checkerboard, as a
// picture.
int RunFlatten(std::span<char* const> args) {
  if (args.size() != 2) {
    std::cerr << "usage: mirasketch-cli flatten FILE.kvl OUT.bmp|OUT.jpg|OUT.png\n";
    return 2;
  }
  HeadlessStudio headless;
  Studio& studio = headless.studio;
  if (!ReadProjectFile(studio.project, args[0])) return 1;
  RefreshComposite(studio.project);
  return studio.pictureFiles.SaveImageFile(args[1], &studio.project.compositeDib) ? 0 : 1;
}

// convert IN OUT [--quality Q]: opens IN as the program's open command does and saves it as OUT
// by OUT's extension.
int RunConvert(std::span<char* const> args) {
  int quality = 100;
  const bool qualityGiven = args.size() == 4 && std::string(args[2]) == "--quality";
  if ((args.size() != 2 && !qualityGiven) || (qualityGiven && !ParseInt(args[3], quality)) ||
      quality < 1 || quality > 100) {
    std::cerr << "usage: mirasketch-cli convert IN OUT [--quality 1…100]\n";
    return 2;
  }
  HeadlessStudio headless;
  Studio& studio = headless.studio;
  studio.pictureFiles.jpegQuality = quality;
  if (!studio.pictureFiles.OpenPictureFile(args[0])) return 1;
  return studio.pictureFiles.SavePictureFile(args[1]) ? 0 : 1;
}

// mkkvl OUT.kvl W H [LAYERS]: a new project of white layers of the canvas size.
int RunMakeKvl(std::span<char* const> args) {
  int width = 0, height = 0, layers = 1;
  if (args.size() < 3 || args.size() > 4 || !ParseInt(args[1], width) ||
      !ParseInt(args[2], height) || (args.size() == 4 && !ParseInt(args[3], layers))) {
    std::cerr << "usage: mirasketch-cli mkkvl OUT.kvl W H [LAYERS]\n";
    return 2;
  }
  HeadlessStudio headless;
  LayerProject& project = headless.studio.project;
  if (layers < 1 || layers > MAX_LAYERS) {
    std::cerr << "LAYERS must be 1 … " << MAX_LAYERS << '\n';
    return 2;
  }
  if (!project.NewProject(1, width, height)) return 1;
  for (int i = 1; i < layers; ++i)
    if (!project.InsertLayer(i, true, project.CanvasWidth(), project.CanvasHeight())) return 1;
  project.AfterNewProject();
  return WriteProjectFile(project, args[0]) ? 0 : 1;
}

}  // namespace mirasketch::cli
