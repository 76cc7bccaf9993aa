#include "classlib/win32/otkForm.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "classlib/otkFormat.h"
#include "classlib/win32/WinText.h"
#include "classlib/win32/otkWindowProc.h"

namespace otkForm {

using nw::win::Narrow;
using nw::win::Widen;

namespace {

constexpr const wchar_t* kFormClass = L"NetWardForm";
constexpr const wchar_t* kPageClass = L"NetWardFormPage";
constexpr const wchar_t* kTitle = L"Orvin.T.K. NetWard";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT | WS_EX_APPWINDOW;
constexpr DWORD kTopLevelStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kTopLevelExStyle = 0;
// The kit's own message, posted by a TipsAfterLoad form to itself: make the waiting tips.
constexpr UINT kMakeTipsMsg = WM_APP + 0x3F00;


struct Made {
  const wchar_t* Class;
  DWORD Style;
};

Made ClassAndStyle(Kind kind) {
  switch (kind) {
    case Kind::Label: return {L"STATIC", SS_LEFT};
    case Kind::Strip: return {L"STATIC", SS_LEFT | SS_NOTIFY | SS_NOPREFIX | SS_CENTERIMAGE};
    case Kind::Edit: return {L"EDIT", WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL};
    case Kind::Number: return {L"EDIT", WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL};
    case Kind::ReadOnly: return {L"EDIT", WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL | ES_READONLY};
    case Kind::Check: return {L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX};
    case Kind::Radio: return {L"BUTTON", BS_AUTORADIOBUTTON};
    case Kind::Button: return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON};
    case Kind::DefaultButton: return {L"BUTTON", WS_TABSTOP | BS_DEFPUSHBUTTON};
    case Kind::Combo: return {WC_COMBOBOXW, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST};
    case Kind::EditCombo: return {WC_COMBOBOXW, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL};
    case Kind::Password: return {L"EDIT", WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL | ES_PASSWORD};
    case Kind::List: return {L"LISTBOX", WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT};
    case Kind::CheckList:
      return {WC_LISTVIEWW, WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL |
                                LVS_SHOWSELALWAYS};
    case Kind::Frame: return {L"BUTTON", BS_GROUPBOX};
    case Kind::OwnerDrawn: return {L"BUTTON", WS_TABSTOP | BS_OWNERDRAW};
  }
  return {L"STATIC", 0};
}

bool IsPushButton(HWND wnd) {
  wchar_t cls[16] = {};
  GetClassNameW(wnd, cls, 16);
  if (lstrcmpiW(cls, L"BUTTON") != 0) return false;
  const LONG type = GetWindowLongW(wnd, GWL_STYLE) & BS_TYPEMASK;
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW;
}

bool IsClass(HWND wnd, const wchar_t* name) {
  wchar_t cls[32] = {};
  GetClassNameW(wnd, cls, 32);
  return lstrcmpiW(cls, name) == 0;
}

bool IsEdit(HWND wnd) { return IsClass(wnd, L"EDIT"); }

HelpOpener& InstalledHelpOpener() {
  static HelpOpener opener;
  return opener;
}

// The forms of the thread that have a window, for TranslateKeys.
std::vector<Form*>& LiveForms() {
  static std::vector<Form*> forms;
  return forms;
}

// Top-left corner of a `w` x `h` frame placed as `o` asks.
POINT Placed(const FormOptions& o, int w, int h) {
  if (o.Placement == Place::At) return o.Position;
  RECT over{};
  if (o.Placement == Place::OverOwner && o.Owner && IsWindowVisible(o.Owner)) {
    GetWindowRect(o.Owner, &over);
  } else {
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    GetMonitorInfoW(o.Owner ? MonitorFromWindow(o.Owner, MONITOR_DEFAULTTOPRIMARY)
                            : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY),
                    &mi);
    over = mi.rcWork;
  }
  const LONG x = over.left + ((over.right - over.left) - w) / 2;
  const LONG y = over.top + ((over.bottom - over.top) - h) / 2;
  if (o.Placement == Place::OverOwner)
    return POINT{std::clamp(x, 0L, std::max(0L, static_cast<LONG>(GetSystemMetrics(SM_CXSCREEN) - w))),
                 std::clamp(y, 0L, std::max(0L, static_cast<LONG>(GetSystemMetrics(SM_CYSCREEN) - h)))};
  return POINT{over.left + std::max(0L, x - over.left), over.top + std::max(0L, y - over.top)};
}

}  // namespace

// Disables the visible, enabled top-level windows of this thread except `except`; Release (or
// the destructor) enables them again. Release before destroying the modal window, so activation
// returns to the program and not to another one.
class DisableOthers {
 public:
  explicit DisableOthers(HWND except) : except_(except) {
    EnumThreadWindows(GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(this));
  }
  ~DisableOthers() { Release(); }
  DisableOthers(const DisableOthers&) = delete;
  DisableOthers& operator=(const DisableOthers&) = delete;
  void Release() {
    for (HWND w : disabled_)
      if (IsWindow(w)) EnableWindow(w, TRUE);
    disabled_.clear();
  }

 private:
  static BOOL CALLBACK DisableOne(HWND wnd, LPARAM lp);
  HWND except_ = nullptr;
  std::vector<HWND> disabled_;
};

BOOL CALLBACK DisableOthers::DisableOne(HWND wnd, LPARAM lp) {
  auto* self = reinterpret_cast<DisableOthers*>(lp);
  if (wnd != self->except_ && IsWindowVisible(wnd) && IsWindowEnabled(wnd)) {
    EnableWindow(wnd, FALSE);
    self->disabled_.push_back(wnd);
  }
  return TRUE;
}

SIZE FrameSize(int clientW, int clientH, bool topLevel, bool menu, UINT dpi) {
  RECT r{0, 0, otkGdi::Scale(clientW, dpi), otkGdi::Scale(clientH, dpi)};
  AdjustWindowRectEx(&r, topLevel ? kTopLevelStyle : kStyle, menu, topLevel ? kTopLevelExStyle : kExStyle);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

void SetHelpOpener(HelpOpener opener) { InstalledHelpOpener() = std::move(opener); }

void OpenHelp(const std::string& page) {
  if (InstalledHelpOpener()) InstalledHelpOpener()(page);
}

Form::Form(HINSTANCE instance) : instance_(instance) { LiveForms().push_back(this); }

Form::~Form() {
  Close();
  std::erase(LiveForms(), this);
}

bool Form::Create(const FormOptions& o) {
  const wchar_t* cls = o.ClassName ? o.ClassName : kFormClass;
  icon_ = o.Icon;
  smallIcon_ = o.SmallIcon ? o.SmallIcon : o.Icon;
  // The first form of a class gives the class its icons. Forms with those icons need no
  // WM_SETICON: Wine turns the window's icons into X pictures when the window is made anyway, and
  // again (both of them) at every WM_SETICON, a few milliseconds each time.
  WNDCLASSEXW wc{};
  if (!nw::win::RegisterWindowClassOnce(instance_, cls, &Form::WndProc, icon_, smallIcon_, &wc) ||
      !nw::win::RegisterWindowClassOnce(instance_, kPageClass, &Form::PageProc))
    return false;
  const bool classIcons = wc.hIcon == icon_ && wc.hIconSm == smallIcon_;
  dpi_ = otkGdi::ScreenDpi();
  font_ = otkGdi::CreateMessageFont(dpi_);
  helpPage_ = o.HelpPage ? o.HelpPage : "";
  const DWORD style = o.TopLevel ? kTopLevelStyle : kStyle;
  // An owned window has no taskbar button of its own.
  const DWORD exStyle = (o.TopLevel ? kTopLevelExStyle : o.Owned ? kExStyle & ~WS_EX_APPWINDOW : kExStyle) |
                        (o.Topmost ? WS_EX_TOPMOST : 0);
  const SIZE frame = FrameSize(o.ClientWidth, o.ClientHeight, o.TopLevel, o.Menu != nullptr, dpi_);
  const int w = frame.cx, h = frame.cy;
  const POINT at = Placed(o, w, h);
  // Unless asked, owned by nobody: the main window may be hidden in the tray, and an owned window
  // would hide too.
  if (!CreateWindowExW(exStyle, cls, Widen(o.Caption).c_str(), style, at.x, at.y, w, h, o.Owned ? o.Owner : nullptr,
                       o.Menu, instance_, this)) {
    if (o.Menu) DestroyMenu(o.Menu);
    return false;
  }
  if (icon_ && !classIcons) {
    SendMessageW(wnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(wnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
  }
  if (o.TipsAfterLoad) tipsWaiting_ = PostMessageW(wnd_, kMakeTipsMsg, 0, 0) != FALSE;
  return true;
}

HWND Form::AddPage(int id, const RECT& rc) {
  HWND page = CreateWindowExW(WS_EX_CONTROLPARENT, kPageClass, L"", WS_CHILD | WS_CLIPSIBLINGS, S(rc.left),
                              S(rc.top), S(rc.right - rc.left), S(rc.bottom - rc.top), wnd_,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
  if (page) items_[id] = page;
  return page;
}

void Form::AddControls(HWND parent, std::span<const Control> table) {
  for (const Control& c : table) {
    const Made m = ClassAndStyle(c.Type);
    const RECT& r = c.Rect;
    // Combo boxes are given the height of their open list.
    const bool dropDown = c.Type == Kind::Combo || c.Type == Kind::EditCombo;
    const int height = dropDown ? S(r.bottom - r.top) * 8 : S(r.bottom - r.top);
    HWND h = CreateWindowExW(0, m.Class, Widen(c.Text).c_str(), WS_CHILD | WS_VISIBLE | m.Style | c.Style,
                             S(r.left), S(r.top), S(r.right - r.left), height, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.Id)), instance_, nullptr);
    if (!h) continue;
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    if (c.Limit > 0) SendMessageW(h, EM_LIMITTEXT, static_cast<WPARAM>(c.Limit), 0);
    if (dropDown) SendMessageW(h, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), S(r.bottom - r.top) - 6);
    if (c.Type == Kind::Password) SendMessageW(h, EM_SETPASSWORDCHAR, L'*', 0);
    if (c.Type == Kind::EditCombo && c.Limit > 0) SendMessageW(h, CB_LIMITTEXT, static_cast<WPARAM>(c.Limit), 0);
    if (c.Type == Kind::CheckList) {
      SendMessageW(h, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
                   LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
      LVCOLUMNW col{};
      col.mask = LVCF_WIDTH;
      col.cx = S(r.right - r.left) - GetSystemMetrics(SM_CXVSCROLL) - 4;
      SendMessageW(h, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&col));
    }
    if (c.Type == Kind::Number) selectAll_.push_back(c.Id);
    if (c.Id != 0 && c.Id != -1) items_[c.Id] = h;
    if (c.Tip) AddTip(h, c.Tip, false);
  }
}

HWND Form::Item(int id) const {
  const auto it = items_.find(id);
  return it == items_.end() ? nullptr : it->second;
}

std::string Form::Text(int id) const {
  HWND h = Item(id);
  if (!h) return {};
  const int n = GetWindowTextLengthW(h);
  std::wstring w(static_cast<size_t>(n) + 1, L'\0');
  const int got = GetWindowTextW(h, w.data(), n + 1);
  w.resize(static_cast<size_t>(std::max(got, 0)));
  return Narrow(w);
}

void Form::SetText(int id, std::string_view text) {
  if (HWND h = Item(id)) SetWindowTextW(h, Widen(text).c_str());
}

void Form::SetFittedText(int id, std::string_view text) {
  HWND h = Item(id);
  if (!h) return;
  RECT rc{};
  GetClientRect(h, &rc);
  otkGdi::WindowDc dc(h);
  otkGdi::SelectGuard font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageW(h, WM_GETFONT, 0, 0)));
  SetText(id, otk::FitText(text, rc.right - rc.left,
                           [&](std::string_view t) { return otkGdi::MeasureText(dc.Get(), std::string(t)); }));
}

bool Form::Checked(int id) const { return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void Form::SetChecked(int id, bool on) {
  SendMessageW(Item(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Form::FillCombo(int id, std::span<const char* const> items) {
  HWND h = Item(id);
  SendMessageW(h, CB_RESETCONTENT, 0, 0);
  for (const char* s : items) SendMessageW(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(s).c_str()));
}

int Form::ComboIndex(int id) const { return static_cast<int>(SendMessageW(Item(id), CB_GETCURSEL, 0, 0)); }

void Form::SetComboIndex(int id, int index) {
  SendMessageW(Item(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void Form::SetItems(int id, const std::vector<std::string>& items) {
  HWND h = Item(id);
  if (!h) return;
  if (IsClass(h, WC_LISTVIEWW)) {
    SendMessageW(h, LVM_DELETEALLITEMS, 0, 0);
    for (size_t i = 0; i < items.size(); ++i) {
      std::wstring w = Widen(items[i]);
      LVITEMW it{};
      it.mask = LVIF_TEXT;
      it.iItem = static_cast<int>(i);
      it.pszText = w.data();
      SendMessageW(h, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&it));
    }
    return;
  }
  const bool list = IsClass(h, L"LISTBOX");
  const std::string text = list ? std::string() : Text(id);
  SendMessageW(h, list ? LB_RESETCONTENT : CB_RESETCONTENT, 0, 0);
  for (const std::string& s : items)
    SendMessageW(h, list ? LB_ADDSTRING : CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(s).c_str()));
  if (!list) SetText(id, text);
}

std::vector<std::string> Form::Items(int id) const {
  HWND h = Item(id);
  std::vector<std::string> out;
  if (!h) return out;
  if (IsClass(h, WC_LISTVIEWW)) {
    const int n = static_cast<int>(SendMessageW(h, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
      wchar_t buf[1024] = {};
      LVITEMW it{};
      it.iSubItem = 0;
      it.pszText = buf;
      it.cchTextMax = 1024;
      SendMessageW(h, LVM_GETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&it));
      out.push_back(Narrow(buf));
    }
    return out;
  }
  const bool list = IsClass(h, L"LISTBOX");
  const int n = static_cast<int>(SendMessageW(h, list ? LB_GETCOUNT : CB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    const LRESULT len = SendMessageW(h, list ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    std::wstring w(static_cast<size_t>(std::max<LRESULT>(len, 0)) + 1, L'\0');
    SendMessageW(h, list ? LB_GETTEXT : CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(w.data()));
    w.resize(static_cast<size_t>(std::max<LRESULT>(len, 0)));
    out.push_back(Narrow(w));
  }
  return out;
}

int Form::ListIndex(int id) const {
  HWND h = Item(id);
  if (!h) return -1;
  if (IsClass(h, WC_LISTVIEWW))
    return static_cast<int>(SendMessageW(h, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  if (IsClass(h, L"LISTBOX")) return static_cast<int>(SendMessageW(h, LB_GETCURSEL, 0, 0));
  return ComboIndex(id);
}

void Form::SetListIndex(int id, int index) {
  HWND h = Item(id);
  if (!h) return;
  if (IsClass(h, WC_LISTVIEWW)) {
    LVITEMW it{};
    it.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    it.state = index >= 0 ? (LVIS_SELECTED | LVIS_FOCUSED) : 0;
    SendMessageW(h, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&it));
    if (index >= 0) SendMessageW(h, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
    return;
  }
  if (IsClass(h, L"LISTBOX")) {
    SendMessageW(h, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    return;
  }
  SetComboIndex(id, index);
}

bool Form::ItemChecked(int id, int index) const {
  const LRESULT state = SendMessageW(Item(id), LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_STATEIMAGEMASK);
  return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

void Form::SetItemChecked(int id, int index, bool on) {
  LVITEMW it{};
  it.stateMask = LVIS_STATEIMAGEMASK;
  it.state = INDEXTOSTATEIMAGEMASK(on ? 2 : 1);
  SendMessageW(Item(id), LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&it));
}

int Form::RadioIndex(int firstId, int count) const {
  for (int i = 0; i < count; ++i)
    if (Checked(firstId + i)) return i;
  return -1;
}

void Form::SetRadioIndex(int firstId, int count, int index) {
  for (int i = 0; i < count; ++i) SetChecked(firstId + i, i == index);
}

void Form::Enable(int id, bool on) {
  if (HWND h = Item(id)) EnableWindow(h, on ? TRUE : FALSE);
}

void Form::Show(int id, bool on) {
  if (HWND h = Item(id)) ShowWindow(h, on ? SW_SHOW : SW_HIDE);
}

void Form::MoveControl(int id, const RECT& r) {
  if (HWND h = Item(id)) MoveWindow(h, S(r.left), S(r.top), S(r.right - r.left), S(r.bottom - r.top), TRUE);
}

void Form::SetTopmost(bool on) {
  if (!wnd_) return;
  // Wine places a window after its owned pop-ups that lie above it (the tip window) and takes
  // the topmost state from its new neighbours, so the window would stay as it was: the tip window
  // is let go of while the window moves.
  if (tooltip_) SetWindowLongPtrW(tooltip_, GWLP_HWNDPARENT, 0);
  SetWindowPos(wnd_, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (tooltip_) SetWindowLongPtrW(tooltip_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(wnd_));
}

bool Form::SetFittedTextWithTip(int id, std::string_view text) {
  HWND control = Item(id);
  if (!control) return false;
  RECT rc{};
  GetClientRect(control, &rc);
  bool fits = false;
  {
    otkGdi::WindowDc dc(control);
    otkGdi::SelectGuard font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    fits = otkGdi::MeasureText(dc.Get(), std::string(text)) <= rc.right - rc.left;
  }
  if (fits)
    SetText(id, text);
  else
    SetFittedText(id, text);
  const bool cut = !fits;
  if (cut) {
    SetTip(id, text);
  } else if (tipsWaiting_) {
    waitingTips_.erase(control);
  } else if (tooltip_ && control) {
    TOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.hwnd = GetParent(control);
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  }
  return cut;
}

void Form::SetTip(int id, std::string_view text) {
  if (HWND control = Item(id)) AddTip(control, text, true);
}

void Form::AddTip(HWND control, std::string_view text, bool mayBeKnown) {
  if (tipsWaiting_) {
    waitingTips_[control] = std::string(text);
    return;
  }
  if (!tooltip_) {
    // Made when the first tip is given. Not topmost itself (it comes to the top when it shows):
    // under Wine an owned topmost window keeps its owner from becoming topmost.
    tooltip_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, wnd_, nullptr, instance_, nullptr);
    if (!tooltip_) return;
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, S(400));
  }
  std::wstring w = Widen(text);
  TOOLINFOW ti{};
  ti.cbSize = TTTOOLINFOW_V2_SIZE;
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = GetParent(control);
  ti.uId = reinterpret_cast<UINT_PTR>(control);
  TOOLINFOW probe = ti;
  ti.lpszText = w.data();
  // A control just made has no tip yet: no need to ask.
  const bool known =
      mayBeKnown && SendMessageW(tooltip_, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&probe)) != 0;
  SendMessageW(tooltip_, known ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void Form::MakeWaitingTips() {
  tipsWaiting_ = false;
  std::map<HWND, std::string> tips;
  tips.swap(waitingTips_);
  for (const auto& [control, text] : tips)
    if (IsWindow(control)) AddTip(control, text, false);
}

void Form::FocusField(int id) {
  HWND h = Item(id);
  if (!h) return;
  SetFocus(h);
  if (IsEdit(h)) SendMessageW(h, EM_SETSEL, 0, -1);
}

void Form::Warn(std::string_view text) const {
  MessageBoxW(wnd_, Widen(text).c_str(), kTitle, MB_OK | MB_ICONEXCLAMATION);
}

void Form::Inform(std::string_view text, std::string_view title) const {
  MessageBoxW(wnd_, Widen(text).c_str(), title.empty() ? kTitle : Widen(title).c_str(), MB_OK | MB_ICONINFORMATION);
}

bool Form::AskYesNo(std::string_view text) const {
  return MessageBoxW(wnd_, Widen(text).c_str(), kTitle, MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
}

bool Form::AskQuestion(std::string_view text) const {
  return MessageBoxW(wnd_, Widen(text).c_str(), kTitle, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

bool Form::RunModal() {
  if (!wnd_) return true;
  returnTo_ = GetActiveWindow();
  disabled_ = std::make_unique<DisableOthers>(wnd_);
  ShowWindow(wnd_, SW_SHOW);
  SetForegroundWindow(wnd_);
  if (!GetFocus() || !IsChild(wnd_, GetFocus())) NextControl(GetNextDlgTabItem(wnd_, nullptr, FALSE));
  MSG msg;
  while (IsWindow(wnd_)) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      PostQuitMessage(got == 0 ? static_cast<int>(msg.wParam) : 0);
      Close();
      return false;
    }
    if (TranslateKeys(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

void Form::Close() {
  // The other windows first, so activation returns to the program. Named, not left to the window
  // manager: an unowned form gives activation to whatever window is next in the z-order, which may
  // be another program's that came up meanwhile.
  if (disabled_) disabled_->Release();
  disabled_.reset();
  if (wnd_ && returnTo_ && GetActiveWindow() == wnd_ && IsWindow(returnTo_) && IsWindowVisible(returnTo_) &&
      IsWindowEnabled(returnTo_))
    SetActiveWindow(returnTo_);
  returnTo_ = nullptr;
  if (wnd_) DestroyWindow(wnd_);
}

bool Form::TranslateKeys(MSG& msg) {
  if (!msg.hwnd) return false;
  HWND root = GetAncestor(msg.hwnd, GA_ROOT);
  for (Form* f : LiveForms())
    if (f->wnd_ && f->wnd_ == root) return f->Translate(msg);
  return false;
}

bool Form::Translate(MSG& msg) {
  // A form disabled under another one's modal loop gets its messages as they come.
  if (!IsWindowVisible(wnd_) || !IsWindowEnabled(wnd_)) return false;
  if (PreTranslate(msg)) return true;
  return IsDialogMessageW(wnd_, &msg) != FALSE;
}

void Form::NextControl(HWND target) {
  if (!target) return;
  SetFocus(target);
  if (IsEdit(target)) SendMessageW(target, EM_SETSEL, 0, -1);
}

LRESULT CALLBACK Form::WndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  return nw::win::ForwardToObject<Form, &Form::wnd_, &Form::Handle>(wnd, msg, wp, lp);
}

LRESULT CALLBACK Form::PageProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  // A page passes what its controls report on to the form.
  switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
      return SendMessageW(GetParent(wnd), msg, wp, lp);
    default:
      return DefWindowProcW(wnd, msg, wp, lp);
  }
}

LRESULT Form::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  HWND wnd = wnd_;
  switch (msg) {
    case DM_GETDEFID: {
      // Enter presses the focused push button, else the default one.
      HWND focus = GetFocus();
      if (focus && IsChild(wnd, focus) && IsPushButton(focus) && IsWindowEnabled(focus))
        return MAKELRESULT(GetDlgCtrlID(focus), DC_HASDEFID);
      return MAKELRESULT(defaultId_, DC_HASDEFID);
    }
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(wnd, focus)) lastFocus_ = focus;
      }
      break;  // activation gives the window itself the focus; WM_SETFOCUS passes it on
    case WM_SETFOCUS: {
      // Back from a message box, a common dialog or another program: the control that had the
      // focus gets it again, else the first one. A window without such a control (the compact
      // window: only labels and a menu) keeps the focus itself.
      HWND target = lastFocus_;
      if (!target || !IsChild(wnd, target) || !IsWindowVisible(target) || !IsWindowEnabled(target))
        target = GetNextDlgTabItem(wnd, nullptr, FALSE);
      if (target && target != wnd && (GetWindowLongW(target, GWL_STYLE) & WS_TABSTOP)) NextControl(target);
      return 0;
    }
    case WM_NEXTDLGCTL:
      // What the dialog keyboard asks for: Tab, Shift+Tab, arrows in a group, mnemonics of labels.
      if (LOWORD(lp)) {
        NextControl(reinterpret_cast<HWND>(wp));
      } else {
        HWND next = GetNextDlgTabItem(wnd, GetFocus(), wp != 0);
        if (next && (GetWindowLongW(next, GWL_STYLE) & WS_TABSTOP)) NextControl(next);
      }
      return 0;
    case WM_COMMAND: {
      const int id = LOWORD(wp), code = HIWORD(wp);
      if (code == EN_SETFOCUS &&
          std::find(selectAll_.begin(), selectAll_.end(), id) != selectAll_.end())
        PostMessageW(reinterpret_cast<HWND>(lp), EM_SETSEL, 0, -1);  // after the click has placed the caret
      if (id == IDCANCEL && (lp == 0 || code == BN_CLICKED) && !Item(IDCANCEL)) {
        OnCancel();
        return 0;
      }
      if (lp == 0)
        OnMenuCommand(id, code);
      else
        OnCommand(id, code);
      return 0;
    }
    case WM_NOTIFY:
      if (lp) OnNotify(*reinterpret_cast<const NMHDR*>(lp));
      return 0;
    case WM_TIMER:
      OnTimer(static_cast<UINT_PTR>(wp));
      return 0;
    case WM_CTLCOLORSTATIC:
      if (HBRUSH b = OnColorStatic(reinterpret_cast<HWND>(lp), reinterpret_cast<HDC>(wp)))
        return reinterpret_cast<LRESULT>(b);
      break;
    case WM_GETICON:
      // The form's icons also when they are the class's (not set on the window itself).
      if (const LRESULT own = DefWindowProcW(wnd, msg, wp, lp)) return own;
      return reinterpret_cast<LRESULT>(wp == ICON_BIG ? icon_ : smallIcon_);
    case WM_HELP:
      // F1 on any control (its WM_HELP comes up through the pages) or with the window's menu open.
      if (!helpPage_.empty()) OpenHelp(helpPage_);
      return TRUE;
    case kMakeTipsMsg:
      MakeWaitingTips();
      return 0;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_DESTROY:
      OnDestroy();
      wnd_ = nullptr;
      tooltip_ = nullptr;
      tipsWaiting_ = false;
      waitingTips_.clear();
      lastFocus_ = nullptr;
      items_.clear();
      selectAll_.clear();
      SetWindowLongPtrW(wnd, GWLP_USERDATA, 0);
      OnDestroyed();
      return 0;
  }
  return OnMessage(msg, wp, lp);
}

}  // namespace otkForm
