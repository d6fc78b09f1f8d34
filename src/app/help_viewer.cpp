#include "help_viewer.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace mirasketch {

HelpViewer::HelpViewer() : browser_(new QTextBrowser(this)) {
  setObjectName("frmHelp");
  setWindowTitle("ヘルプ");
  resize(720, 640);
  browser_->setObjectName("brwHelp");
  browser_->setOpenLinks(true);
  auto* back = new QPushButton("戻る", this);
  back->setObjectName("btnBack");
  auto* contents = new QPushButton("目次", this);
  contents->setObjectName("btnContents");
  connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
  connect(contents, &QPushButton::clicked, browser_, &QTextBrowser::home);
  back->setEnabled(false);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(back);
  buttons->addWidget(contents);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(browser_);
}

void HelpViewer::ShowFile(const QString& path) {
  browser_->clearHistory();
  browser_->setSource(QUrl::fromLocalFile(path));
  show();
  raise();
  activateWindow();
}

}  // namespace mirasketch
