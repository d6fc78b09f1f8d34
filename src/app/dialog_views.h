#pragma once

#include <QDialog>

class QLineEdit;

namespace mirasketch {

class MessageSink;
class TfrmDlgSetting;
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

// The modal settings dialog: the core's two fields, OK (Enter) and キャンセル (Esc).
class SettingsDialogView : public QDialog {
  Q_OBJECT

 public:
  explicit SettingsDialogView(TfrmDlgSetting& dialog, QWidget* parent = nullptr);

 private:
  TfrmDlgSetting& dialog_;
  QLineEdit* edtUndoCount_;
  QLineEdit* edtJPGSave_;
};

// The modal version dialog: the emblem, the program's name and version, OK.
class VersionDialogView : public QDialog {
  Q_OBJECT

 public:
  explicit VersionDialogView(QWidget* parent = nullptr);
};

}  // namespace mirasketch
