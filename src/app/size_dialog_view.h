#pragma once

#include <QDialog>

class QLineEdit;

namespace mirasketch {

class MessageSink;
class TfrmDlgSize;

// The modal size dialog over the core's dialog state: two fields, OK checked by the core, ESC.
class SizeDialogView : public QDialog {
  Q_OBJECT

 public:
  SizeDialogView(TfrmDlgSize& dialog, MessageSink& messages, QWidget* parent = nullptr);

 private:
  void OKBtnClick();

  TfrmDlgSize& dialog_;
  MessageSink& messages_;
  QLineEdit* edtWid_;
  QLineEdit* edtHei_;
};

}  // namespace mirasketch
