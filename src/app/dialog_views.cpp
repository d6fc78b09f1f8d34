#include "dialog_views.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "buffers/dib_true.h"
#include "project/size_dialog.h"
#include "qt_convert.h"
#include "shell/dialogs.h"

namespace mirasketch {

namespace {

QLabel* AddLabel(QWidget* parent, const char* name, const char* text, int x, int y) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->setObjectName(name);
  label->move(x, y);
  label->adjustSize();
  return label;
}

QLineEdit* AddField(QWidget* parent, const char* name, const std::string& text, int x, int y,
                    int width = 64) {
  auto* field = new QLineEdit(QString::fromStdString(text), parent);
  field->setObjectName(name);
  field->setGeometry(x, y, width, 21);
  return field;
}

QPushButton* AddButton(QWidget* parent, const char* name, const char* text, QRect place) {
  auto* button = new QPushButton(QString::fromUtf8(text), parent);
  button->setObjectName(name);
  button->setGeometry(place);
  return button;
}

}  // namespace

SizeDialogView::SizeDialogView(TfrmDlgSize& dialog, MessageSink& messages, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      dialog_(dialog),
      messages_(messages) {
  setObjectName("frmDlgSize");
  setWindowTitle(QString::fromUtf8(TfrmDlgSize::kCaption));
  setFixedSize(194, 80);
  setModal(true);

  AddLabel(this, "lblWid", "幅", 16, 8);
  AddLabel(this, "lblHei", "高さ", 16, 32);
  AddLabel(this, "lblComment", "幅は4の倍数にします。", 10, 64)->setVisible(dialog_.commentVisible);
  edtWid_ = AddField(this, "edtWid", dialog_.edtWid, 56, 8);
  edtHei_ = AddField(this, "edtHei", dialog_.edtHei, 56, 32);

  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("OKBtn");
  ok->setGeometry(135, 4, 50, 22);
  ok->setDefault(true);
  ok->setAutoDefault(true);
  connect(ok, &QPushButton::clicked, this, &SizeDialogView::OKBtnClick);

  // QDialog rejects on Esc by itself, which is this button's meaning.
  auto* cancel = new QPushButton("ESC", this);
  cancel->setObjectName("CancelBtn");
  cancel->setGeometry(136, 32, 49, 22);
  cancel->setAutoDefault(false);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  edtWid_->setFocus();
  edtWid_->selectAll();
}

void SizeDialogView::OKBtnClick() {
  dialog_.edtWid = edtWid_->text().toStdString();
  dialog_.edtHei = edtHei_->text().toStdString();
  if (dialog_.OKBtnClick(messages_)) accept();
}

SettingsDialogView::SettingsDialogView(TfrmDlgSetting& dialog, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), dialog_(dialog) {
  setObjectName("frmDlgSetting");
  setWindowTitle(QString::fromUtf8(TfrmDlgSetting::kCaption));
  setFixedSize(337, 133);
  setModal(true);
  auto* bevel = new QFrame(this);
  bevel->setObjectName("Bevel1");
  bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
  bevel->setGeometry(8, 8, 241, 121);
  AddLabel(this, "Label2", "アンドゥ回数(2-16)", 24, 40);
  edtUndoCount_ = AddField(this, "edtUndoCount", dialog_.edtUndoCount, 128, 32, 41);
  AddLabel(this, "Label1", "ジェイペグ保存の画質(1-100)", 24, 80);
  edtJPGSave_ = AddField(this, "edtJPGSave", dialog_.edtJPGSave, 184, 72, 41);

  QPushButton* ok = AddButton(this, "OKBtn", "OK", {260, 24, 75, 25});
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, [this] {
    dialog_.edtUndoCount = edtUndoCount_->text().toStdString();
    dialog_.edtJPGSave = edtJPGSave_->text().toStdString();
    accept();
  });
  // QDialog rejects on Esc by itself, which is this button's meaning.
  QPushButton* cancel = AddButton(this, "CancelBtn", "キャンセル", {260, 54, 75, 25});
  cancel->setAutoDefault(false);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  edtUndoCount_->setFocus();
}

VersionDialogView::VersionDialogView(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName("dlgVer");
  setWindowTitle(QString::fromUtf8(TdlgVer::kCaption));
  setFixedSize(288, 129);
  setModal(true);
  auto* panel = new QFrame(this);
  panel->setObjectName("Panel1");
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel->setLineWidth(2);
  panel->setGeometry(8, 6, 273, 118);

  CDibTrue emblem;
  TdlgVer::PaintEmblem(emblem);
  auto* icon = new QLabel(panel);
  icon->setObjectName("ProgramIcon");
  icon->setGeometry(8, 8, 112, 100);
  icon->setScaledContents(true);
  icon->setPixmap(
      QPixmap::fromImage(ImageFromDib(emblem, TdlgVer::kEmblemWidth, TdlgVer::kEmblemHeight)));

  QLabel* name = AddLabel(panel, "ProductName", TdlgVer::kProductName, 138, 22);
  QFont bold = name->font();
  bold.setBold(true);
  bold.setPixelSize(19);
  name->setFont(bold);
  name->adjustSize();
  AddLabel(panel, "Version", TdlgVer::kVersion, 198, 48);

  QPushButton* ok = AddButton(panel, "OKButton", "OK", {167, 92, 75, 25});
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace mirasketch
