#include "settings/NWDLaunch.h"

#include "classlib/otkFileString.h"



namespace nw {

NWDLaunch::NWDLaunch(LaunchPorts& ports, std::string programFolder, std::string exeName)
    : ports_(ports), folder_(std::move(programFolder)), programPath_(otkFileString::JoinPath(folder_, exeName + ".exe")) {}

bool NWDLaunch::RegistryRegistered() {
  std::string value;
  if (!ports_.ReadString(kRunKey, kValueName, value)) return false;
  return value == programPath_ || value == "\"" + programPath_ + "\"";
}

std::string NWDLaunch::ShortcutPath() {
  std::string folder;
  if (!ports_.StartupFolder(folder) || folder.empty()) return {};
  return otkFileString::JoinPath(folder, std::string(kValueName) + ".lnk");
}

bool NWDLaunch::StartupRegistered() {
  const std::string link = ShortcutPath();
  return !link.empty() && ports_.FileExists(link);
}

void NWDLaunch::ShowStates(bool reg, bool sup) {
  view_.RegStatus = reg ? "ﾚｼﾞｽﾄﾘに登録されています。" : "ﾚｼﾞｽﾄﾘに登録されていません。";
  view_.SupStatus = sup ? "ｽﾀｰﾄｱｯﾌﾟﾌｫﾙﾀﾞに登録されています。" : "ｽﾀｰﾄｱｯﾌﾟﾌｫﾙﾀﾞに登録されていません。";
  view_.LaunchStatus = reg || sup ? "自動起動するように設定してあります。" : "自動起動しません。";
  // One way at a time can be set up from here.
  view_.RegRegist = view_.SupRegist = !reg && !sup;
  view_.RegDelete = reg;
  view_.SupDelete = sup;
}

LaunchView NWDLaunch::Refresh() {
  view_.RegPlace = std::string("ｷｰ名:HKEY_LOCAL_MACHINE\\") + kRunKey + " 値名:" + kValueName;
  std::string folder;
  view_.SupPlace = ports_.StartupFolder(folder) ? folder : std::string();
  ShowStates(RegistryRegistered(), StartupRegistered());
  return view_;
}

NWDLaunch::Outcome NWDLaunch::cmRegRegist_Click() {
  // Quoted, so a path with a blank cannot start another program first.
  if (ports_.WriteString(kRunKey, kValueName, "\"" + programPath_ + "\"") && RegistryRegistered()) {
    ShowStates(true, view_.SupDelete);
    return {true, "ﾚｼﾞｽﾄﾘへ正常に登録できました。"};
  }
  return {false, "ﾚｼﾞｽﾄﾘへ正常に登録できませんでした。"};
}

NWDLaunch::Outcome NWDLaunch::cmRegDelete_Click() {
  if (ports_.DeleteValue(kRunKey, kValueName) && !RegistryRegistered()) {
    ShowStates(false, view_.SupDelete);
    return {true, "ﾚｼﾞｽﾄﾘから正常に削除できました。"};
  }
  return {false, "ﾚｼﾞｽﾄﾘから正常に削除できませんでした。"};
}

NWDLaunch::Outcome NWDLaunch::cmSupRegist_Click() {
  ShortcutRecord r;
  r.LinkPath = ShortcutPath();
  r.TargetPath = programPath_;
  r.WorkingDirectory = folder_;
  if (!r.LinkPath.empty() && ports_.WriteShortcut(r) && ports_.FileExists(r.LinkPath)) {
    ShowStates(view_.RegDelete, true);
    return {true, "ｽﾀｰﾄｱｯﾌﾟﾌｫﾙﾀﾞへ正常に登録できました。"};
  }
  return {false, "ｽﾀｰﾄｱｯﾌﾟﾌｫﾙﾀﾞへ正常に登録できませんでした。"};
}

NWDLaunch::Outcome NWDLaunch::cmSupDelete_Click() {
  const std::string link = ShortcutPath();
  if (!link.empty()) {
    if (ports_.FileExists(link)) ports_.RemoveFile(link);
    // A shortcut that was already gone counts as removed.
    if (!ports_.FileExists(link)) {
      ShowStates(view_.RegDelete, false);
      return {true, "ｽﾀｰﾄｱｯﾌﾟﾌｫﾙﾀﾞから正常に削除できました。"};
    }
  }
  return {false, "ｽﾀｰﾄｱｯﾌﾟﾌｫﾙﾀﾞから正常に削除できませんでした。"};
}

}  // namespace nw
