#pragma once
// The program's one notification-area icon: add, modify (tip and/or image), remove.
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace otk {

class otkIconIntoTray {
 public:
  struct AddArgs {
    HWND Owner = nullptr;
    std::string Tip;  // UTF-8
    HICON Icon = nullptr;
  };
  struct ModifyArgs {
    std::string Tip;
    bool TipGiven = false;
    HICON Icon = nullptr;
    bool IconGiven = false;
  };

  otkIconIntoTray() = default;
  otkIconIntoTray(const otkIconIntoTray&) = delete;
  otkIconIntoTray& operator=(const otkIconIntoTray&) = delete;
  ~otkIconIntoTray();

  // False when the icon is already shown or the shell refused it.
  bool AddTrayIcon(const AddArgs& args);
  // The add at start-up: the shell is asked on a worker thread and the call returns at once, so
  // the window does not wait for the notification area before it shows. Changes made meanwhile
  // follow the add from the worker; every other call first waits for the shell's answer (still
  // taking messages sent to this thread). False when the icon is already shown.
  bool AddTrayIconInBackground(const AddArgs& args);
  // False when no icon is shown or the shell refused the change; true while a background add is
  // under way. The record takes the new picture and tip either way, so an icon added later shows
  // the present state.
  bool ModifyTrayIcon(const ModifyArgs& args);
  bool RemoveTrayIcon();
  // After the shell (re)started ("TaskbarCreated") its icons are gone: add ours again with the
  // present picture and tip (only for an icon whose add was tried once, shown or refused).
  bool ReAddAfterShellRestart(HICON icon, const std::string& tip);

  bool TrayIconShown() const {
    Settle();
    return shown_;
  }

  enum class BalloonKind { Info, Warning };
  // A notification balloon from the shown icon; false when no icon is shown, the text is empty
  // (an empty text would only take a balloon away) or the shell refused it.
  bool ShowBalloon(const std::string& title, const std::string& text, BalloonKind kind);
  // The record ShowBalloon hands to the shell: this icon's window and identifier, NIF_INFO only, the
  // texts cut to their fields (never inside a surrogate pair), the icon kind.
  NOTIFYICONDATAW BalloonRecord(const std::string& title, const std::string& text, BalloonKind kind) const;

  // The tip as the notification area keeps it: cut to what fits the classic 64-byte ANSI field
  // (63 bytes in the ANSI code page plus the terminating zero), never inside a double-byte character.
  static std::wstring TipText(const std::string& utf8);

 private:
  void PrepareAdd(const AddArgs& args);
  void ApplyChange(const ModifyArgs& args);
  // Waits for a background add and takes its answer.
  void Settle() const;
  static DWORD WINAPI AddOnWorker(void* self);

  NOTIFYICONDATAW data_{};
  mutable bool shown_ = false;
  // A background add: its thread, and under lock_ while it runs: data_, the shell's answer, whether
  // the thread is done and whether data_ changed since it read it.
  mutable HANDLE adding_ = nullptr;
  SRWLOCK lock_ = SRWLOCK_INIT;
  bool addAnswer_ = false;
  bool addDone_ = false;
  bool changedWhileAdding_ = false;
};

}  // namespace otk
