#pragma once
// NWDLogCng: the modal editor of one history record. It works only on the record it is given:
// "変更(&D)" checks the boxes and replaces the record (Changed set), "ﾘｾｯﾄ(&U)" refills the boxes,
// "ｷｬﾝｾﾙ", Esc and the close box leave it as it was. It touches no file.
//
//     NWDLogCng dlg(instance, record, counterName, history.hisFmtTime[0]);
//     dlg.ShowMe(owner, icon, topmost);   // record.Changed tells whether new values were accepted
//
// Keyboard: Tab walks the boxes of the shown kind, the mnemonics of the row captions jump to a
// row's first box, every box selects its whole text on focus, Enter is "変更(&D)", Esc "ｷｬﾝｾﾙ".
#include <windows.h>

#include <string>

#include "classlib/win32/otkForm.h"
#include "history/NWDLogCngModel.h"

namespace nw {

class NWDLogCng final : public otkForm::Form {
 public:
  // Control identifiers (the tests find the controls by them).
  static constexpr int CngHisDial = 3000, CngHisTday = 3001, CngHisUser = 3002;  // frames by Kind
  static constexpr int txDial = 3100;  // txDial(0..17)
  static constexpr int lblDialTime = 3120;
  static constexpr int txTday = 3200;  // txTday(0..9)
  static constexpr int txUser = 3300;  // txUser(0..9)
  static constexpr int cdChange = IDOK, cdCancel = IDCANCEL, cdReset = 3400;

  NWDLogCng(HINSTANCE instance, SelectedHistoryRecord& record, std::string counterName, std::string durationFormat);
  ~NWDLogCng() override;

  // Clears record.Changed, shows the dialog modally and returns when it is closed.
  void ShowMe(HWND owner, HICON icon, bool topmost);

 private:
  void OnCommand(int id, int code) override;

  // The first box identifier of the record's kind (0 when the kind has no boxes) and their count.
  int FirstBox() const;
  int BoxCount() const;
  EditBoxes ReadBoxes() const;
  void FillBoxes();  // load and "ﾘｾｯﾄ(&U)"
  void UpdateDialDuration();
  void cdChange_Click();

  SelectedHistoryRecord& record_;
  std::string counterName_;
  std::string durationFormat_;
  bool boxesReady_ = false;  // cleared while the dialog writes the boxes itself
};

}  // namespace nw
