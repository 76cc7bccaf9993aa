#pragma once
// The form kit every dialog-like window of the program is built with: controls declared as a table
// (kind, identifier, text, rectangle at 96 DPI, style, tip), created with the window's font, scaled
// by its DPI, in table order (which is the Tab order), each with its tool tip; values read into and
// written from a plain struct through a field table; the dialog keyboard (Tab and Shift+Tab, arrow
// keys in option groups, Alt mnemonics, Enter for the default or focused button, Esc for cancel).
//
//     class MyDialog : public otkForm::Form {
//       void OnCommand(int id, int code) override { ... }
//     };
//     MyDialog dlg(instance);
//     dlg.Create({owner, "Orvin.T.K. NetWard 何か", 400, 300, icon, topmost});
//     dlg.AddControls(dlg.Window(), kControls);
//     otkForm::Write(dlg, kFields, values);
//     dlg.RunModal();   // returns when the window is gone
//
// Pages: AddPage creates a hidden container (its own Tab group); controls added to it come and go
// with it. Identifiers are unique across the whole form, so Item(id) finds a control on any page.
//
// Help: a form names its help page (FormOptions::HelpPage) and F1 opens it through the opener the
// program installs once (SetHelpOpener).
//
// Windows that are not modal dialogs: FormOptions::TopLevel makes an overlapped window with a
// minimize box and an optional menu bar (the main and the compact window), shown by its owner
// instead of RunModal; the thread's message loop passes every message through TranslateKeys, so
// such a window has the same keyboard. Painting, menus and other messages a form handles itself
// arrive in OnMessage.
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "classlib/win32/otkGdi.h"

namespace otkForm {

enum class Kind {
  Label,          // static text; an "&" marks the mnemonic that focuses the next control
  Strip,          // static without text prefix handling, clickable (page labels, colour strips)
  Edit,           // single-line text box
  Number,         // text box whose whole text is selected whenever it gets the focus
  ReadOnly,       // read-only text box (still focusable, so its text can be copied)
  Check,          // auto check box
  Radio,          // auto option button; mark the first of a group with WS_GROUP in Style
  Button,         // push button
  DefaultButton,  // the push button Enter presses when no other button has the focus
  Combo,          // drop-down list
  EditCombo,      // text box with a drop-down list of suggestions
  Password,       // single-line text box showing "*" for every character
  List,           // list box, one selection
  CheckList,      // list whose items carry a check box (Space ticks the focused item)
  Frame,          // group box around other controls (a sibling of them, drawn behind)
  OwnerDrawn,     // push button the form draws itself (WM_DRAWITEM in OnMessage), e.g. a link
};

struct Control {
  Kind Type = Kind::Label;
  int Id = 0;
  const char* Text = "";
  RECT Rect{};          // at 96 DPI, in the coordinates of the parent (window or page)
  DWORD Style = 0;      // added to the kind's own style
  const char* Tip = nullptr;
  int Limit = 0;        // text boxes: at most this many characters (0: no limit)
};

// Where a form's window appears.
enum class Place {
  OwnerMonitor,  // centred on the work area of the owner's monitor (the primary one without owner)
  OverOwner,     // centred over the owner while it is shown, else on the work area; kept on the screen
  At,            // its frame's top-left corner at FormOptions::Position (screen pixels)
};

struct FormOptions {
  HWND Owner = nullptr;
  std::string Caption;
  int ClientWidth = 0;   // at 96 DPI
  int ClientHeight = 0;
  HICON Icon = nullptr;  // big, and small unless SmallIcon is given
  bool Topmost = false;
  const char* HelpPage = nullptr;  // the page F1 opens, a file name in the help folder
  HICON SmallIcon = nullptr;
  // The window class (null: the kit's own); other programs and the tests find a window by it.
  const wchar_t* ClassName = nullptr;
  // An overlapped window with a minimize box that stands on its own (not modal).
  bool TopLevel = false;
  HMENU Menu = nullptr;  // its menu bar, destroyed with the window
  // Owned by Owner (hidden with it, no taskbar button) instead of standing alone.
  bool Owned = false;
  Place Placement = Place::OwnerMonitor;
  POINT Position{};
  // The tip window is made once the message loop runs after the window was made; the tips given
  // until then wait for it. For a window that shows while the program starts: the tip window, an
  // owned pop-up, makes showing its owner slower.
  bool TipsAfterLoad = false;
};

// The outer size of a form's window with a client area of `clientW` x `clientH` (96 DPI) at `dpi`,
// for a top-level window or a dialog, with or without a menu bar (one line of it).
SIZE FrameSize(int clientW, int clientH, bool topLevel, bool menu, UINT dpi);

// Opens a help page by its file name ("mainwin.htm"); nothing until the program installs one.
using HelpOpener = std::function<void(const std::string& page)>;
void SetHelpOpener(HelpOpener opener);
void OpenHelp(const std::string& page);

// The program's other windows, disabled while a form is modal.
class DisableOthers;

class Form {
 public:
  explicit Form(HINSTANCE instance);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // Creates the (hidden) window centred on its owner's monitor; false when it cannot be created.
  bool Create(const FormOptions& options);
  // A hidden page container at `rect` (96 DPI, window coordinates).
  HWND AddPage(int id, const RECT& rect);
  // Creates the table's controls as children of `parent` (the window or a page) in table order.
  void AddControls(HWND parent, std::span<const Control> table);

  HWND Window() const { return wnd_; }
  HWND Item(int id) const;
  UINT Dpi() const { return dpi_; }
  int S(int px96) const { return otkGdi::Scale(px96, dpi_); }
  // The font the controls are created with.
  HFONT Font() const { return font_.Get(); }
  // The button Enter presses when the focus is on no push button (IDOK unless set).
  void SetDefaultButton(int id) { defaultId_ = id; }
  // Puts the window in or out of the topmost band, without activating it.
  void SetTopmost(bool on);
  // Moves a control to `rect` (96 DPI, parent coordinates).
  void MoveControl(int id, const RECT& rect);

  std::string Text(int id) const;
  void SetText(int id, std::string_view text);
  // The text, shortened with "..." to the control's width in its font when it does not fit.
  void SetFittedText(int id, std::string_view text);
  bool Checked(int id) const;
  void SetChecked(int id, bool on);
  void FillCombo(int id, std::span<const char* const> items);
  int ComboIndex(int id) const;
  void SetComboIndex(int id, int index);
  // Items of a List, CheckList or EditCombo (an EditCombo keeps its text), the selected one (-1 none).
  void SetItems(int id, const std::vector<std::string>& items);
  std::vector<std::string> Items(int id) const;
  int ListIndex(int id) const;
  void SetListIndex(int id, int index);
  // The tick of a CheckList item.
  bool ItemChecked(int id, int index) const;
  void SetItemChecked(int id, int index, bool on);
  // Option groups: `count` buttons with consecutive identifiers from `firstId`; -1 when none is set.
  int RadioIndex(int firstId, int count) const;
  void SetRadioIndex(int firstId, int count, int index);
  void Enable(int id, bool on);
  void Show(int id, bool on);
  void SetTip(int id, std::string_view text);
  // The text, shortened with "..." to the control's width when it does not fit; the tool tip then
  // shows it whole (and is taken away when it fits). True when it was shortened.
  bool SetFittedTextWithTip(int id, std::string_view text);
  // Gives `id` the focus with its whole text selected.
  void FocusField(int id);

  // Message boxes with the program's title: a warning (exclamation, OK), a confirmation
  // (information, OK; `title` replaces the title) and Yes/No questions with the exclamation or
  // the question icon (true for Yes).
  void Warn(std::string_view text) const;
  void Inform(std::string_view text, std::string_view title = {}) const;
  bool AskYesNo(std::string_view text) const;
  bool AskQuestion(std::string_view text) const;

  // Shows the window, disables the program's other windows and dispatches messages (timers
  // included) until the window is destroyed. False when the program was asked to quit meanwhile.
  bool RunModal();
  // Destroys the window (after giving the other windows their state back). A modal form that is
  // active hands activation back to the window that was active when it opened.
  void Close();

  // The keyboard of the form the message is for (Tab, arrows, Alt mnemonics, Enter, Esc, the
  // form's own keys), for the thread's message loops. True when handled: then the message must not
  // be translated or dispatched again.
  static bool TranslateKeys(MSG& msg);

 protected:
  // For a form that learns its module only when it loads.
  void SetInstance(HINSTANCE instance) { instance_ = instance; }
  // Control notifications (WM_COMMAND from a control or a page, IDOK/IDCANCEL from the keyboard).
  virtual void OnCommand(int id, int code) = 0;
  // WM_COMMAND without a control: a menu item (and IDOK when no such button exists).
  virtual void OnMenuCommand(int id, int code) { OnCommand(id, code); }
  // Esc.
  virtual void OnCancel() { Close(); }
  // The close box (and WM_CLOSE from anyone).
  virtual void OnClose() { OnCancel(); }
  // Keys before the dialog keyboard sees them; true when handled.
  virtual bool PreTranslate(const MSG&) { return false; }
  // WM_NOTIFY from a control (list views report selection and ticks this way).
  virtual void OnNotify(const NMHDR&) {}
  // WM_TIMER of the form's own timers.
  virtual void OnTimer(UINT_PTR) {}
  // Background brush for a static or read-only control (null: the default).
  virtual HBRUSH OnColorStatic(HWND, HDC) { return nullptr; }
  // While the window is being destroyed (it still exists), and once it is gone (Window() is null).
  virtual void OnDestroy() {}
  virtual void OnDestroyed() {}
  // Every message the kit does not handle itself (painting, menus, power, ...): the default
  // window procedure unless a form says otherwise.
  virtual LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(wnd_, msg, wp, lp); }

 private:
  static LRESULT CALLBACK WndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK PageProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
  void NextControl(HWND target);
  void AddTip(HWND control, std::string_view text, bool mayBeKnown);
  void MakeWaitingTips();
  bool Translate(MSG& msg);

  HINSTANCE instance_;
  HWND wnd_ = nullptr;
  HWND tooltip_ = nullptr;
  // TipsAfterLoad: the tips given before the tip window is made (control -> text).
  bool tipsWaiting_ = false;
  std::map<HWND, std::string> waitingTips_;
  HICON icon_ = nullptr;
  HICON smallIcon_ = nullptr;
  UINT dpi_ = 96;
  otkGdi::Font font_;
  std::map<int, HWND> items_;
  std::vector<int> selectAll_;  // Number boxes
  HWND lastFocus_ = nullptr;    // the control that had the focus when the window was deactivated
  std::string helpPage_;
  int defaultId_ = IDOK;
  std::unique_ptr<DisableOthers> disabled_;
  HWND returnTo_ = nullptr;  // the window active when the modal loop began
};

// ---- values in and out of a plain struct ------------------------------------------------------------

// One control bound to a member: text boxes to std::string, check boxes to bool, drop-down lists
// to int (the list index), option groups to int (the index in the group of RadioCount buttons).
template <class S>
struct Field {
  int Id;
  std::variant<std::string S::*, bool S::*, int S::*> Member;
  int RadioCount = 0;
};

template <class S>
void Read(const Form& form, std::span<const Field<S>> fields, S& values) {
  for (const Field<S>& f : fields) {
    if (auto m = std::get_if<std::string S::*>(&f.Member)) values.*(*m) = form.Text(f.Id);
    if (auto m = std::get_if<bool S::*>(&f.Member)) values.*(*m) = form.Checked(f.Id);
    if (auto m = std::get_if<int S::*>(&f.Member))
      values.*(*m) = f.RadioCount ? form.RadioIndex(f.Id, f.RadioCount) : form.ComboIndex(f.Id);
  }
}

template <class S>
void Write(Form& form, std::span<const Field<S>> fields, const S& values) {
  for (const Field<S>& f : fields) {
    if (auto m = std::get_if<std::string S::*>(&f.Member)) form.SetText(f.Id, values.*(*m));
    if (auto m = std::get_if<bool S::*>(&f.Member)) form.SetChecked(f.Id, values.*(*m));
    if (auto m = std::get_if<int S::*>(&f.Member)) {
      if (f.RadioCount)
        form.SetRadioIndex(f.Id, f.RadioCount, values.*(*m));
      else
        form.SetComboIndex(f.Id, values.*(*m));
    }
  }
}

}  // namespace otkForm
