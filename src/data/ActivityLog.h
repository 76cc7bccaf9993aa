#pragma once
// The activity log: a plain text copy of every status line, in code page 932 with CR LF, appended
// one line at a time (open, append, close), so the user may read, move or delete the file while
// NetWard runs. Also the logic of the four log commands of the "設定(&U)" menu.
#include <cstdint>
#include <functional>
#include <string>

#include "data/NWDGlobal.h"

namespace nw {

// Appends `text` and CR LF to the file at `path` (created when missing); false on any failure.
bool AppendActivityLine(const std::string& path, const std::string& text);

// What is at a log path.
enum class LogPathState {
  Missing,  // a usable path with no file there (or a folder)
  Exists,   // a file is there
  Invalid,  // not a path a file can have (empty parts, characters no file name may hold)
};
LogPathState ProbeLogPath(const std::string& path);

// The menu commands. Notices go to the monitor's ShowNoticeDialog (button mood 0, action -1).
class ActivityLogCommands {
 public:
  using Notice = std::function<void(const std::string& main, const std::string& sub)>;
  ActivityLogCommands(SettingsRecord& settings, Notice notice) : s_(settings), notice_(std::move(notice)) {}

  // A file is at LogFileAddress. An invalid path switches the log off, empties the path and says so.
  bool LogFileExists();

  // "設定(&U)" opening: the tick of "ﾛｸﾞの開始(&L)" and whether "ﾛｸﾞﾌｧｲﾙの削除(&D)" is enabled.
  struct MenuState {
    bool LoggingChecked = false;
    bool DeleteEnabled = false;
  };
  MenuState Utilnu_Click();

  // "ﾛｸﾞの開始(&L)": inverts LoggingFLG; the path is checked by the next line written.
  void Loggingnu_Click() { s_.LoggingFLG = !s_.LoggingFLG; }

  // "ﾛｸﾞﾌｧｲﾙの場所(&W)...": how the save-file dialog is set up, and taking its answer.
  struct SaveDialogSetup {
    std::string DefaultExtension;
    std::string DefaultAddress;  // initial folder
    std::string DefaultFileName;
    std::string Title;
    std::string Filter;  // "description|pattern"
    int32_t FilterIndex = 1;
    uint32_t Flags = 0;
  };
  SaveDialogSetup AdsLognuSetup() const;
  // Takes the dialog's answer. A path that code page 932 (in which the settings file stores it)
  // cannot hold would come back as another path: it is refused with a warning, the old one kept.
  bool AdsLognuChosen(const std::string& path);

  // "ﾛｸﾞﾌｧｲﾙの削除(&D)": deletes the file without asking; logging stays as it is.
  void DelLognu_Click();

 private:
  SettingsRecord& s_;
  Notice notice_;
};

}  // namespace nw
