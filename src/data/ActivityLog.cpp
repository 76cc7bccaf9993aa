#include "data/ActivityLog.h"

#include "classlib/otkCodePage932.h"
#include "classlib/otkFileString.h"
#include "classlib/otkOsFile.h"

namespace nw {

namespace {
constexpr const char* kResetSub = "ﾛｸﾞﾌｧｲﾙの保存場所が無効なため、「ﾛｸﾞ」機能の設定を初期化しました。";
// OFN_PATHMUSTEXIST | OFN_HIDEREADONLY.
constexpr uint32_t kSaveFlags = 2052;
}  // namespace

bool AppendActivityLine(const std::string& path, const std::string& text) {
  // A name Windows would refuse is refused here too, the same on every platform.
  if (ProbeLogPath(path) == LogPathState::Invalid) return false;
  return otkFileString::AppendTextLine(path, text);
}

LogPathState ProbeLogPath(const std::string& path) {
  if (path.empty()) return LogPathState::Invalid;
  // Characters no Windows file name may hold; a drive colon is allowed only as "X:".
  for (size_t i = 0; i < path.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(path[i]);
    if (c < 0x20 || c == '<' || c == '>' || c == '"' || c == '|' || c == '?' || c == '*') return LogPathState::Invalid;
    if (c == ':' && i != 1) return LogPathState::Invalid;
  }
  const std::string name = otkFileString::LastPathPart(path);
  if (name.empty()) return LogPathState::Invalid;  // ends in "\": a folder, not a file
  return os::KindOf(path) == 1 ? LogPathState::Exists : LogPathState::Missing;
}

bool ActivityLogCommands::LogFileExists() {
  if (s_.LogFileAddress.empty()) return false;
  switch (ProbeLogPath(s_.LogFileAddress)) {
    case LogPathState::Exists:
      return true;
    case LogPathState::Missing:
      return false;
    case LogPathState::Invalid:
      break;
  }
  s_.LoggingFLG = false;
  s_.LogFileAddress.clear();
  if (notice_) notice_("ﾛｸﾞﾌｧｲﾙの保存場所が無効です。", kResetSub);
  return false;
}

ActivityLogCommands::MenuState ActivityLogCommands::Utilnu_Click() {
  MenuState m;
  m.LoggingChecked = s_.LoggingFLG;
  m.DeleteEnabled = LogFileExists();
  // An invalid path has just switched the log off.
  m.LoggingChecked = s_.LoggingFLG;
  return m;
}

ActivityLogCommands::SaveDialogSetup ActivityLogCommands::AdsLognuSetup() const {
  SaveDialogSetup d;
  d.DefaultExtension = "txt";
  d.DefaultFileName = otkFileString::LastPathPart(s_.LogFileAddress);
  // The dialog opens in the folder of the present file.
  d.DefaultAddress = s_.LogFileAddress.substr(0, s_.LogFileAddress.size() - d.DefaultFileName.size());
  if (d.DefaultAddress.size() > 3 && d.DefaultAddress.back() == '\\') d.DefaultAddress.pop_back();
  d.Title = "ﾛｸﾞﾌｧｲﾙの保存場所／名前の指定";
  d.Filter = "すべてのﾌｧｲﾙ(*.*)|*.*";
  d.FilterIndex = 1;
  d.Flags = kSaveFlags;
  return d;
}

bool ActivityLogCommands::AdsLognuChosen(const std::string& path) {
  if (cp932::ToUtf8(cp932::FromUtf8(path)) != path) {
    if (notice_)
      notice_("ﾛｸﾞﾌｧｲﾙの保存場所に、保存できない文字が含まれています。",
              "ﾛｸﾞﾌｧｲﾙの保存場所は変更していません。日本語の文字と英数字だけの場所を指定して下さい。");
    return false;
  }
  s_.LogFileAddress = path;
  return true;
}

void ActivityLogCommands::DelLognu_Click() {
  if (!LogFileExists()) return;
  os::RemoveFile(s_.LogFileAddress);  // a file that vanished meanwhile: nothing to do
}

}  // namespace nw
