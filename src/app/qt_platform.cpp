#include "qt_platform.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QCursor>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QScreen>
#include <QUrl>
#include <algorithm>
#include <chrono>
#include <cstring>

#include "buffers/dib_true.h"
#include "help_viewer.h"
#include "platform/system_memory.h"

namespace mirasketch {

namespace {

const char* const kCaption = "Mirasketch";

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

QWidget* DialogParent() {
  return QApplication::activeWindow();
}

std::int64_t SteadyMilliseconds() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

QStringList QtNameFilters(const std::string& filter) {
  const QStringList fields = Q(filter).split('|');
  QStringList filters;
  for (qsizetype i = 0; i < fields.size(); i += 2) {
    const QString text = fields[i];
    QStringList patterns;
    if (i + 1 < fields.size()) {
      for (const QString& pattern : fields[i + 1].split(';', Qt::SkipEmptyParts))
        patterns << (pattern.trimmed() == "*.*" ? QString("*") : pattern.trimmed());
    }
    if (patterns.isEmpty()) patterns << "*";
    if (text.isEmpty() && i + 1 >= fields.size()) continue;  // a trailing '|'
    filters << text + " (" + patterns.join(' ') + ")";
  }
  return filters;
}

QtPlatform::QtPlatform() = default;
QtPlatform::~QtPlatform() = default;

void QtPlatform::ShowMessage(const std::string& text) {
  QMessageBox box(QMessageBox::NoIcon, kCaption, Q(text), QMessageBox::Ok, DialogParent());
  // File names are shown as they are, never taken for markup.
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

bool QtPlatform::AskYesNo(const std::string& text) {
  QMessageBox box(QMessageBox::Question, kCaption, Q(text), QMessageBox::Yes | QMessageBox::No,
                  DialogParent());
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(QMessageBox::Yes);
  box.setEscapeButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

std::optional<std::string> QtPlatform::InputBox(const std::string& caption,
                                                const std::string& prompt,
                                                const std::string& initial) {
  bool ok = false;
  const QString text = QInputDialog::getText(DialogParent(), Q(caption), Q(prompt),
                                             QLineEdit::Normal, Q(initial), &ok);
  if (!ok) return std::nullopt;
  return text.toStdString();
}

std::optional<std::string> QtPlatform::RunFileDialog(const FileDialogRequest& request, bool save) {
  QFileDialog dialog(DialogParent());
  dialog.setWindowTitle(save ? "名前を付けて保存" : "ファイルを開く");
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  // The program asks its own overwrite question.
  if (save) dialog.setOption(QFileDialog::DontConfirmOverwrite);
  const QStringList filters = QtNameFilters(request.filter);
  dialog.setNameFilters(filters);
  if (!filters.isEmpty()) dialog.selectNameFilter(filters.first());
  dialog.setDefaultSuffix(Q(request.defaultExtension));
  if (!request.initialFolder.empty()) dialog.setDirectory(Q(request.initialFolder));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return std::nullopt;
  return chosen.first().toStdString();
}

std::optional<std::string> QtPlatform::ChooseOpenFile(const FileDialogRequest& request) {
  return RunFileDialog(request, false);
}

std::optional<std::string> QtPlatform::ChooseSaveFile(const FileDialogRequest& request) {
  return RunFileDialog(request, true);
}

std::optional<int> QtPlatform::ChooseColour(int initial) {
  const QColor start(initial & 0xFF, (initial >> 8) & 0xFF, (initial >> 16) & 0xFF);
  const QColor colour = QColorDialog::getColor(start, DialogParent());
  if (!colour.isValid()) return std::nullopt;
  return MakeColour(colour.red(), colour.green(), colour.blue());
}

std::optional<FontChoice> QtPlatform::ChooseFont(const FontChoice& initial) {
  QFont start(Q(initial.family));
  start.setPixelSize(std::max(1, initial.pixelHeight));
  start.setBold(initial.bold);
  start.setItalic(initial.italic);
  bool ok = false;
  const QFont font = QFontDialog::getFont(&ok, start, DialogParent());
  if (!ok) return std::nullopt;
  FontChoice choice;
  choice.family = font.family().toStdString();
  if (font.pixelSize() > 0) {
    choice.pixelHeight = font.pixelSize();
  } else {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen != nullptr ? screen->logicalDotsPerInchY() : 96.0;
    choice.pixelHeight = std::max(1, static_cast<int>(font.pointSizeF() * dpi / 72.0 + 0.5));
  }
  choice.bold = font.bold();
  choice.italic = font.italic();
  return choice;
}

bool QtPlatform::ClipboardHasBitmap() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  return data != nullptr && data->hasImage();
}

void QtPlatform::PutClipboardBitmap(const CDibTrue& picture, int width, int height) {
  const QImage image = ImageFromDib(picture, width, height);
  if (!image.isNull()) QGuiApplication::clipboard()->setImage(image);
}

bool QtPlatform::TakeClipboardBitmap(CDibTrue& target, int extraColumns, int extraRows, int& width,
                                     int& height) {
  const QImage image = QGuiApplication::clipboard()->image();
  if (image.isNull()) return false;
  width = image.width();
  height = image.height();
  return DibFromImage(image, target, extraColumns, extraRows);
}

void QtPlatform::BeginBusy() {
  ++busyDepth_;
  QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtPlatform::EndBusy() {
  if (busyDepth_ == 0) return;
  --busyDepth_;
  QApplication::restoreOverrideCursor();
}

void QtPlatform::ScreenSize(int& width, int& height) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) {
    width = height = 0;
    return;
  }
  width = screen->geometry().width();
  height = screen->geometry().height();
}

void QtPlatform::PointerPosition(int& x, int& y) {
  const QPoint p = QCursor::pos();
  x = p.x();
  y = p.y();
}

void QtPlatform::ShowHelp(const std::string& helpFile) {
  const QString path = Q(helpFile);
  if (!QFileInfo(path).isFile()) {
    ShowMessage(helpFile + " が見つかりません。");
    return;
  }
  if (helpViewer_ == nullptr) helpViewer_ = std::make_unique<HelpViewer>();
  helpViewer_->ShowFile(path);
}

// The steady clock counts from the machine's start, so seeds differ from run to run.
std::int64_t QtPlatform::ClockMilliseconds() {
  return SteadyMilliseconds();
}

std::int64_t QtPlatform::AvailableMemory() {
  return SystemAvailableMemory();
}

}  // namespace mirasketch
