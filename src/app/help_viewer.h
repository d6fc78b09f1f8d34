#pragma once

#include <QTextBrowser>
#include <QWidget>

namespace mirasketch {

// The program's help window ("ヘルプ"): an HTML help file in a text browser, its links followed
// inside the window, with back and contents buttons.
class HelpViewer : public QWidget {
  Q_OBJECT

 public:
  HelpViewer();
  // Opens `path` on its first page and brings the window to the front.
  void ShowFile(const QString& path);

  QTextBrowser* browser() { return browser_; }

 private:
  QTextBrowser* browser_;
};

}  // namespace mirasketch
