#pragma once
// The dialogs the main window opens from its menus: the three settings dialogs, the history list
// and the about box. Each is modal and open at most once; the program's end closes them all
// without applying anything.
#include <windows.h>

#include "data/NWDGlobal.h"
#include "monitor/MonitorPorts.h"
#include "settings/NWDUtilModel.h"

namespace nw {

class NWDUtil;
class NWDUtilSuper;
class NWDUtilSprEntry;
class NWDLogList;
class NWDVersion;

class NWDBaseDialogs {
 public:
  explicit NWDBaseDialogs(HINSTANCE instance) : instance_(instance) {}
  NWDBaseDialogs(const NWDBaseDialogs&) = delete;
  NWDBaseDialogs& operator=(const NWDBaseDialogs&) = delete;

  // Each returns when its dialog is closed; false when that dialog was open already (nothing
  // happened then). `icon` and `topmost` are the main window's.
  // "動作の設定(&A)...": applies through `host`.
  bool OperationSettings(UtilityHost& host, HICON icon, bool topmost);
  // "高度な設定(&S)..." and "監視ｴﾝﾄﾘの高度な設定(&E)...".
  bool Advanced(SettingsRecord& settings, RasQuery& ras, HICON icon, bool topmost);
  bool WatchEntries(SettingsRecord& settings, RasQuery& ras, HICON icon, bool topmost);
  // "履歴の一覧(&H)...": over the process's display settings.
  bool History(HWND owner, SettingsFileData& data, HICON icon, bool topmost);
  // "ﾊﾞｰｼﾞｮﾝ情報(&V)...".
  bool About(HWND owner, bool topmost);

  // Program end: every open dialog goes without applying (the about box once its loop runs again).
  void CloseAll();

 private:
  HINSTANCE instance_;
  NWDUtil* util_ = nullptr;
  NWDUtilSuper* super_ = nullptr;
  NWDUtilSprEntry* entry_ = nullptr;
  NWDLogList* history_ = nullptr;
  NWDVersion* about_ = nullptr;
};

}  // namespace nw
