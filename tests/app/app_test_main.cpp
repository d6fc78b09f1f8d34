// Runs the view test classes under Qt Test: all of them, or the one named as the first argument,
// in the program's own application object.

#include <QTest>
#include <cstdio>

#include "app_test.h"
#include "application.h"

int main(int argc, char** argv) {
  mirasketch::MirasketchApplication app(argc, argv);
  mirasketch::SetProgramFont(app);

  std::string only;
  std::vector<char*> args{argv[0]};
  for (int i = 1; i < argc; ++i) {
    if (i == 1 && argv[i][0] != '-')
      only = argv[i];
    else
      args.push_back(argv[i]);
  }
  int failures = 0;
  bool ran = false;
  for (const auto& [name, make] : mirasketch::test::AppTestSuites()) {
    if (!only.empty() && only != name) continue;
    ran = true;
    const std::unique_ptr<QObject> suite = make();
    failures += QTest::qExec(suite.get(), static_cast<int>(args.size()), args.data());
  }
  if (!ran) {
    std::fprintf(stderr, "no test class named %s\n", only.c_str());
    return 2;
  }
  return failures == 0 ? 0 : 1;
}
