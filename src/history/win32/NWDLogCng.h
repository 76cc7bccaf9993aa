#pragma once
// NWDLogCng: the modal editor of one history record. It works only on the record it is given:
// "変更(&D)" checks the boxes and replaces the record (Changed set), "ﾘｾｯﾄ(&U)" refills the boxes,
// "ｷｬﾝｾﾙ", Esc and the close box leave it as it was. It touches no file.
//
//     NWDLogCng dlg(instance, record, counterName, history.hisFmtTime[0]);
//     dlg.ShowMe(owner, icon, topmost);   // record.Changed tells whether new values were accepted
#include <windows.h>

#include <string>

#include "classlib/win32/otkForm.h"
#include "history/NWDLogCngModel.h"

namespace nw {

class NWDLogCng final : public otkForm::Form {
 public:
  NWDLogCng(HINSTANCE instance, SelectedHistoryRecord& record, std::string counterName, std::string durationFormat);
  ~NWDLogCng() override;

  // Clears record.Changed, shows the dialog modally and returns when it is closed.
  void ShowMe(HWND owner, HICON icon, bool topmost);

 private:
  void OnCommand(int id, int code) override;
  // ... implementation members
  SelectedHistoryRecord& record_;
  std::string counterName_;
  std::string durationFormat_;
};

}  // namespace nw
