#include "size_dialog_view.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "project/size_dialog.h"

namespace mirasketch {

namespace {

QLabel* AddLabel(QWidget* parent, const char* name, const char* text, int x, int y) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->setObjectName(name);
  label->move(x, y);
  label->adjustSize();
  return label;
}

QLineEdit* AddField(QWidget* parent, const char* name, const std::string& text, int x, int y) {
  auto* field = new QLineEdit(QString::fromStdString(text), parent);
  field->setObjectName(name);
  field->setGeometry(x, y, 64, 21);
  return field;
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

}  // namespace mirasketch
