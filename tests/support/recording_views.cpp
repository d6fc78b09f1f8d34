#include "project/size_dialog.h"
#include "support/studio_fixture.h"

namespace mirasketch::test {

bool RecordingViews::RunSizeDialog(TfrmDlgSize& dialog) {
  sizeDialogShown.emplace_back(dialog.edtWid, dialog.edtHei);
  while (!sizeEntries.empty()) {
    auto [width, height] = sizeEntries.front();
    sizeEntries.pop_front();
    dialog.edtWid = width;
    dialog.edtHei = height;
    if (dialog.OKBtnClick(*dialogMessages)) return true;
  }
  return false;
}

}  // namespace mirasketch::test
