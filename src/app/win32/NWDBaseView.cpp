// The main window as the monitor's view (MonitorView): the status list, the caption, the dial and
// lock buttons, the drawn counters, the tray icon's picture and tip, and what goes on to the
// compact window.
#include "app/NWDMenuIds.h"
#include "app/win32/NWDBase.h"
#include "app/win32/NWDBasePorts.h"
#include "classlib/win32/WinText.h"
#include "monitor/Monitor.h"

#include <optional>

namespace nw {

using win::Widen;

void NWDBase::StatusAppend(const std::string& line) {
  HWND list = Item(cmd::StatusList);
  const std::wstring w = Widen(line);
  const LRESULT index = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(w.c_str()));
  if (index >= 0) SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  // Long lines scroll sideways instead of being cut.
  const int width = otkGdi::MeasureText(measureDc_.Get(), line) + S(8);
  if (width > static_cast<int>(SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0)))
    SendMessageW(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(width), 0);
}

void NWDBase::StatusRemoveFirst() { SendMessageW(Item(cmd::StatusList), LB_DELETESTRING, 0, 0); }

void NWDBase::StatusClear() {
  SendMessageW(Item(cmd::StatusList), LB_RESETCONTENT, 0, 0);
  SendMessageW(Item(cmd::StatusList), LB_SETHORIZONTALEXTENT, 0, 0);
}

void NWDBase::SetMainCaption(const std::string& title) { SetWindowTextW(Window(), Widen(title).c_str()); }

// A picture costs a start-up under Wine a few tenths of a millisecond; the connected and the lock
// pictures may never be needed.
const otkGdi::Bitmap& NWDBase::Picture(int id) {
  otkGdi::Bitmap& slot = pictures_[id];
  if (!slot) slot = otkGdi::LoadBitmapScaled(instance_, id, Dpi());
  return slot;
}

void NWDBase::SetDialButton(int bitmapId, const std::string& tip) {
  const otkGdi::Bitmap& bmp = Picture(bitmapId == 102 ? 102 : 101);
  if (bmp) SendMessageW(Item(cmd::DialGoBtn), BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bmp.Get()));
  SetText(cmd::DialGoBtn, tip);
  SetTip(cmd::DialGoBtn, tip);
}

void NWDBase::SetLockButton(int bitmapId, const std::string& tip) {
  MakeLockButton();
  const otkGdi::Bitmap& bmp = Picture(bitmapId == 106 ? 106 : 107);
  if (bmp) SendMessageW(Item(cmd::LockBtn), BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bmp.Get()));
  SetText(cmd::LockBtn, tip);
  SetTip(cmd::LockBtn, tip);
  Show(cmd::LockBtn, monitor_ && monitor_->LockButtonShown());
}

void NWDBase::SetUserCounterState(const std::string& menuCaption, bool menuEnabled, const std::string& labelText,
                                  bool grey) {
  menu_.SetUserClear(menuCaption, menuEnabled);
  userGrey_ = grey;
  // A long name is shortened with "..." and shown whole in the label's tool tip.
  SetFittedTextWithTip(cmd::UserDefine, labelText);
  InvalidateRect(Item(cmd::UserDefine), nullptr, TRUE);
}

// ---- drawn texts ---------------------------------------------------------------------------------------

namespace {

// The window's DC while it is on screen. A hidden window (in the tray, or still loading) gets
// none: the boxes keep their texts and draw them at the next paint.
class ShownDc {
 public:
  explicit ShownDc(HWND wnd) {
    if (IsWindowVisible(wnd)) dc_.emplace(wnd);
  }
  HDC Get() const { return dc_ ? dc_->Get() : nullptr; }

 private:
  std::optional<otkGdi::WindowDc> dc_;
};

}  // namespace

void NWDBase::DrawCounterBox(CounterBox box, const std::string& timeText, const std::string& countText, bool grey) {
  counters_.DrawCounter(ShownDc(Window()).Get(), box, timeText, countText, grey);
}

void NWDBase::DrawPosTim(const std::string& text) { counters_.DrawPosTim(ShownDc(Window()).Get(), text); }

void NWDBase::DrawVolume(const std::string& volumeText, const std::string& allowanceText) {
  counters_.DrawVolume(ShownDc(Window()).Get(), volumeText, allowanceText);
  if (CompactShown()) ports_->Comp.SetVolumeText(volumeText);
}

// ---- the tray icon and the compact window ------------------------------------------------------------

void NWDBase::SetTrayTip(const std::string& tip) {
  if (!trayResident_) return;
  otk::otkIconIntoTray::ModifyArgs args;
  args.Tip = tip;
  args.TipGiven = true;
  tray_.ModifyTrayIcon(args);
}

void NWDBase::SetTrayIcon(int iconId) {
  if (!trayResident_) return;
  otk::otkIconIntoTray::ModifyArgs args;
  // Shared icons from LoadImage(LR_SHARED) live as long as the module; no handle to track.
  args.Icon = TrayIcon(iconId);
  args.IconGiven = true;
  tray_.ModifyTrayIcon(args);
}

void NWDBase::ShowTrayBalloon(const std::string& title, const std::string& text) {
  if (trayResident_) tray_.ShowBalloon(title, text, otk::otkIconIntoTray::BalloonKind::Warning);
}

void NWDBase::SetCompactCaption(const std::string& caption) {
  if (CompactShown()) ports_->Comp.SetCaption(caption);
}

void NWDBase::ExpressAcmComp(int32_t agIToday, int32_t agIUser, int32_t agCIval) {
  if (CompactShown()) ports_->Comp.ExpressAcmComp(agIToday, agIUser, agCIval);
}

}  // namespace nw
