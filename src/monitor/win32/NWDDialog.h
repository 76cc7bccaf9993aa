#pragma once
// NWDDialog: the monitor's notice window. A main text, a sub-text and one or two buttons, always
// on top, with the main window's icon; a form of the kit, modal to the program's windows while its
// loop keeps dispatching timers, so Lookersb goes on running monitor cycles underneath.
//
// The monitor decides what a button does (by the action mood it stored with the notice); this
// window only reports what happened through NoticeEvents:
//     NWDDialog notice(instance, mainWindow);
//     Monitor monitor(..., ports{..., notice});
//     notice.SetEvents({[&] { monitor.OnNoticeLoaded(); }, [&] { monitor.OnNoticeGo(); },
//                       [&] { monitor.OnNoticeNegative(); }, [&] { monitor.OnNoticeUnloaded(); }});
#include <windows.h>

#include <functional>
#include <string>

#include "classlib/win32/otkForm.h"
#include "monitor/MonitorPorts.h"

namespace nw {

struct NoticeEvents {
  std::function<void()> Loaded;    // the window exists, before it is shown
  std::function<void()> Go;        // BtnGo, before the window unloads
  std::function<void()> Negative;  // BtnNgtv, before the window unloads
  std::function<void()> Unloaded;  // the window is gone (any way: a button, the close box, Close())
};

class NWDDialog final : public NoticeDialog, public otkForm::Form {
 public:
  // Control ids (tests and tools find the controls by them).
  static constexpr int kMainMess = 101;
  static constexpr int kSubMess = 102;
  static constexpr int kBtnGo = 103;
  static constexpr int kBtnNgtv = 104;
  static constexpr const wchar_t* kClassName = L"NetWardNWDDialog";

  NWDDialog(HINSTANCE instance, HWND mainWindow);
  ~NWDDialog() override;
  NWDDialog(const NWDDialog&) = delete;
  NWDDialog& operator=(const NWDDialog&) = delete;

  void SetEvents(NoticeEvents events) { events_ = std::move(events); }
  // The main window may be created after this object.
  void SetMainWindow(HWND mainWindow) { main_ = mainWindow; }

  // Loads the window, sets texts and buttons and returns when it has been closed. The other
  // top-level windows of the thread are disabled meanwhile. Called while loaded, it only
  // replaces the texts (as ShowMeRe).
  void ShowMe(const std::string& agSmain, const std::string& agSsub, int agexMood, int agacMood) override;
  // Replaces texts and buttons of the loaded window (nothing when not loaded).
  void ShowMeRe(const std::string& agSmain, const std::string& agSsub, int agexMood, int agacMood) override;

  // Close() unloads the window without any button action (program end).
  bool Loaded() const { return Window() != nullptr; }

 private:
  bool Load();
  void SetTexts(const std::string& main, const std::string& sub, int exMood);
  void Choose(int button);
  void PlaceButton(int id, int leftTwips);

  void OnCommand(int id, int code) override;
  void OnCancel() override { Choose(0); }  // Esc and the close box: no action
  void OnDestroyed() override;

  HINSTANCE instance_;
  HWND main_;
  NoticeEvents events_;
  bool closing_ = false;
};

}  // namespace nw
