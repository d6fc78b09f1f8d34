// The largest canvas the program allows, as a new user meets it: a new one-layer 30000 × 30000
// project (its time and the whole process's peak memory, and against writing the layer and the
// composed picture once into fresh memory) and the first press of the pen on it;
// and the open of a 10-layer 4096 × 4096 project against read() of the same bytes into memory
// already touched, in the same run. Each measurement runs in a fresh child process, so the peak
// memory is that of a program that has done only this.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench_canvas.h"
#include "bench_files.h"
#include "bench_timing.h"
#include "buffers/dib_storage.h"
#include "platform/headless_platform.h"
#include "platform/views.h"
#include "project/kvl_file.h"
#include "project/size_dialog.h"
#include "shell/studio.h"

namespace {

using namespace mirasketch;
using bench::Clock;
using bench::Micros;

constexpr int kHugeSide = 30000;
constexpr int kOpenSide = 4096;
constexpr int kOpenLayers = 10;

// Answers the size dialog of the new command with a fixed size.
class SizedViews : public NoViews {
 public:
  SizedViews(int width, int height) : width_(width), height_(height) {}
  bool RunSizeDialog(TfrmDlgSize& dialog) override {
    dialog.resultWidth = width_;
    dialog.resultHeight = height_;
    return true;
  }

 private:
  int width_, height_;
};

double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Runs `measure` in a child process and returns the numbers it reported.
template <typename Measure>
std::vector<double> InChild(Measure&& measure) {
  int fds[2];
  if (pipe(fds) != 0) return {};
  const pid_t child = fork();
  if (child == 0) {
    close(fds[0]);
    const std::vector<double> values = measure();
    const ssize_t size = static_cast<ssize_t>(values.size() * sizeof(double));
    _exit(write(fds[1], values.data(), static_cast<std::size_t>(size)) == size ? 0 : 1);
  }
  close(fds[1]);
  std::vector<double> values(8);
  const ssize_t got = read(fds[0], values.data(), values.size() * sizeof(double));
  close(fds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  values.resize(got > 0 ? static_cast<std::size_t>(got) / sizeof(double) : 0);
  return values;
}

// A new 30000 × 30000 project through the new command: seconds, peak megabytes, the press of the
// pen on it in microseconds and the undo of that dab in milliseconds.
std::vector<double> NewHugeProject() {
  HeadlessPlatform platform;
  SizedViews views(kHugeSide, kHugeSide);
  Studio studio(platform, views);
  studio.StartUp();
  Clock::time_point start = Clock::now();
  studio.frmMain.mnuNewBmpClick();
  const double seconds = Micros(Clock::now() - start) / 1e6;
  if (studio.project.CanvasWidth() != kHugeSide) return {};
  start = Clock::now();
  studio.frmM.pbxAMouseDown(MouseButton::kLeft, 15000, 15000);
  const double press = Micros(Clock::now() - start);
  studio.frmM.pbxAMouseUp(MouseButton::kLeft, 15000, 15000);
  start = Clock::now();
  studio.frmM.Undo();
  const double undo = Micros(Clock::now() - start) / 1000;
  return {seconds, PeakMegabytes(), press, undo};
}

// What a new project cannot do without: the layer filled white and the composed picture written
// once, as two fresh blocks of the program's allocator, the second copied from the first. Seconds.
std::vector<double> TouchLayerAndPicture() {
  const std::size_t bytes = DibBytes(kHugeSide, kHugeSide, 24);
  DibStorage layer, picture;
  const Clock::time_point start = Clock::now();
  if (!layer.Resize(bytes) || !picture.Resize(bytes)) return {};
  std::memset(layer.Data(), 0xFF, bytes);
  std::memcpy(picture.Data(), layer.Data(), bytes);
  return {Micros(Clock::now() - start) / 1e6};
}

// Opens the project file in a fresh program: microseconds.
std::vector<double> OpenProject(const std::string& path) {
  HeadlessPlatform platform;
  NoViews views;
  Studio studio(platform, views);
  studio.StartUp();
  const Clock::time_point start = Clock::now();
  if (!studio.pictureFiles.OpenPictureFile(path)) return {};
  return {Micros(Clock::now() - start)};
}

// Reads the file's bytes with read() into memory already touched: microseconds.
double ReadBytes(const std::string& path, std::vector<char>& into) {
  const int fd = open(path.c_str(), O_RDONLY);
  if (fd < 0) return 0;
  const Clock::time_point start = Clock::now();
  std::size_t done = 0;
  ssize_t got;
  while (done < into.size() && (got = read(fd, into.data() + done, into.size() - done)) > 0)
    done += static_cast<std::size_t>(got);
  const double micros = Micros(Clock::now() - start);
  close(fd);
  return micros;
}

}  // namespace

int main() {
  // This virtual machine's host gives pages back late: the first gigabytes a process touches after
  // a quiet spell cost up to ten times more than the same touch right after another process freed
  // them. A touch of the same size first puts the new project and its reference on equal terms;
  // that first touch is reported too.
  const std::vector<double> cold = InChild(TouchLayerAndPicture);
  const std::vector<double> huge = InChild(NewHugeProject);
  if (huge.size() != 4) {
    std::fprintf(stderr, "the new 30000 x 30000 project failed\n");
    return 1;
  }
  std::printf("metric: new_30000_s %.2f\n", huge[0]);
  std::printf("metric: peak_30000_mb %.0f\n", huge[1]);
  std::printf("metric: stroke_start_us %.0f\n", huge[2]);
  std::printf("metric: undo_30000_ms %.0f\n", huge[3]);
  const std::vector<double> touch = InChild(TouchLayerAndPicture);
  if (touch.size() == 1 && cold.size() == 1) {
    std::printf("metric: first_touch_30000_s %.2f\n", cold[0]);
    std::printf("metric: touch_30000_s %.2f\n", touch[0]);
    std::printf("ratio: new_vs_touch %.3f\n", touch[0] / huge[0]);
  }

  const std::string path = bench::TempPath("scale.kvl");
  {
    HeadlessPlatform platform;
    NoViews views;
    Studio studio(platform, views);
    studio.StartUp();
    LayerProject& p = studio.project;
    bench::SquareLayers(p, kOpenSide, kOpenLayers);
    for (int i = 0; i < kOpenLayers; ++i)
      std::memset(p.Layer(i).Bits(), 30 + i, 3ULL * kOpenSide * kOpenSide);
    if (!WriteProjectFile(p, path)) return 1;
  }
  std::vector<char> buffer(static_cast<std::size_t>(kOpenLayers) * kOpenSide * kOpenSide * 4 +
                           (1 << 20));
  std::memset(buffer.data(), 1, buffer.size());
  std::vector<double> opens, reads;
  for (int run = 0; run < 3; ++run) {
    const std::vector<double> open = InChild([&path] { return OpenProject(path); });
    if (open.size() != 1) {
      std::fprintf(stderr, "the open failed\n");
      return 1;
    }
    opens.push_back(open[0]);
    reads.push_back(ReadBytes(path, buffer));
  }
  std::remove(path.c_str());
  std::printf("metric: open_4096x10_ms %.0f\n", bench::Median(opens) / 1000);
  std::printf("metric: read_4096x10_ms %.0f\n", bench::Median(reads) / 1000);
  std::printf("ratio: open_vs_read %.3f\n", bench::Median(reads) / bench::Median(opens));
  return 0;
}
