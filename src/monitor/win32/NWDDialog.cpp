#include "monitor/win32/NWDDialog.h"

#include <algorithm>
#include <utility>

#include "monitor/NoticeLayout.h"
#include "res/resource.h"

namespace nw {
namespace {

// Layout in twips (1440 per inch): 15 twips are a pixel at 96 DPI.
constexpr int kClientW = 6615, kClientH = 1155;
constexpr int kMessLeft = 240, kMainTop = 120, kSubTop = 420, kMessW = 6135, kMessH = 180;
constexpr int kBtnTop = 720, kBtnW = 1215, kBtnH = 330;
constexpr int Px96(int twips) { return twips / 15; }
constexpr RECT Rect96(int left, int top, int width, int height) {
  return RECT{Px96(left), Px96(top), Px96(left + width), Px96(top + height)};
}

constexpr DWORD kMessStyle = SS_NOPREFIX | SS_ENDELLIPSIS;
constexpr otkForm::Control kControls[] = {
    {otkForm::Kind::Label, NWDDialog::kMainMess, "", Rect96(kMessLeft, kMainTop, kMessW, kMessH), kMessStyle},
    {otkForm::Kind::Label, NWDDialog::kSubMess, "", Rect96(kMessLeft, kSubTop, kMessW, kMessH), kMessStyle},
    {otkForm::Kind::DefaultButton, NWDDialog::kBtnGo, "", Rect96(2700, kBtnTop, kBtnW, kBtnH)},
    {otkForm::Kind::Button, NWDDialog::kBtnNgtv, "",
     Rect96(NoticeButtons::kSecondLeftTwips, kBtnTop, kBtnW, kBtnH)},
};

HICON WindowIcon(HWND wnd, WPARAM kind) {
  if (!wnd) return nullptr;
  HICON icon = reinterpret_cast<HICON>(SendMessageW(wnd, WM_GETICON, kind, 0));
  if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(wnd, kind == ICON_BIG ? GCLP_HICON : GCLP_HICONSM));
  return icon;
}

}  // namespace

NWDDialog::NWDDialog(HINSTANCE instance, HWND mainWindow) : Form(instance), instance_(instance), main_(mainWindow) {}

NWDDialog::~NWDDialog() {
  if (Window()) {
    events_ = {};
    Close();
  }
}

bool NWDDialog::Load() {
  // The main window's icon; the program's own when there is no main window yet.
  HICON big = WindowIcon(main_, ICON_BIG), small = WindowIcon(main_, ICON_SMALL);
  if (!big) big = LoadIconW(instance_, MAKEINTRESOURCEW(IDI_NETWARD));
  otkForm::FormOptions o;
  // Centred on the work area of the monitor the main window is on (the main window itself may be
  // hidden in the tray).
  o.Owner = main_;
  o.Caption = "Orvin.T.K. NetWard";
  o.ClientWidth = Px96(kClientW);
  o.ClientHeight = Px96(kClientH);
  o.Icon = big;
  o.SmallIcon = small;
  o.Topmost = true;
  o.HelpPage = "notice.htm";
  o.ClassName = kClassName;
  if (!Create(o)) return false;
  AddControls(Window(), kControls);
  Show(kBtnNgtv, false);  // hidden until a second caption
  SetDefaultButton(kBtnGo);
  // A label is at least as tall as one line of the font, so a large font is not cut off.
  otkGdi::WindowDc dc(Window());
  otkGdi::SelectGuard sel(dc.Get(), Font());
  TEXTMETRICW tm{};
  const int lineH = GetTextMetricsW(dc.Get(), &tm) ? std::max<int>(S(Px96(kMessH)), tm.tmHeight) : S(Px96(kMessH));
  for (int id : {kMainMess, kSubMess}) {
    RECT r{};
    GetWindowRect(Item(id), &r);
    MapWindowPoints(nullptr, Window(), reinterpret_cast<POINT*>(&r), 2);
    MoveWindow(Item(id), r.left, r.top, r.right - r.left, lineH, FALSE);
  }
  return true;
}

void NWDDialog::PlaceButton(int id, int leftTwips) { MoveControl(id, Rect96(leftTwips, kBtnTop, kBtnW, kBtnH)); }

void NWDDialog::SetTexts(const std::string& main, const std::string& sub, int exMood) {
  const NoticeButtons b = NoticeButtonsFor(exMood);
  if (!b.Valid) return;  // an unknown mood changes nothing, not even the texts
  SetText(kBtnGo, b.GoCaption);
  PlaceButton(kBtnGo, b.GoLeftTwips);
  if (b.HasSecond) {
    SetText(kBtnNgtv, b.SecondCaption);
    ShowWindow(Item(kBtnNgtv), SW_SHOWNA);
  }
  SetText(kMainMess, main);
  SetText(kSubMess, sub);
}

void NWDDialog::ShowMe(const std::string& agSmain, const std::string& agSsub, int agexMood, int agacMood) {
  if (Window()) {
    ShowMeRe(agSmain, agSsub, agexMood, agacMood);
    return;
  }
  closing_ = false;
  if (!Load()) return;
  if (events_.Loaded) events_.Loaded();
  SetTexts(agSmain, agSsub, agexMood);
  // The kit's modal loop: the thread's timers (Lookersb) are dispatched as in the main loop. The
  // program ending meanwhile closes the notice; WM_QUIT is left for the main loop.
  RunModal();
}

void NWDDialog::ShowMeRe(const std::string& agSmain, const std::string& agSsub, int agexMood, int agacMood) {
  if (!Window()) return;
  SetTexts(agSmain, agSsub, agexMood);
}

void NWDDialog::Choose(int button) {
  if (closing_ || !Window()) return;
  closing_ = true;  // a second click while the action runs does nothing
  if (button == kBtnGo && events_.Go) events_.Go();
  if (button == kBtnNgtv && events_.Negative) events_.Negative();
  Close();
}

void NWDDialog::OnCommand(int id, int code) {
  if ((id == kBtnGo || id == kBtnNgtv) && code == BN_CLICKED) Choose(id);
}

void NWDDialog::OnDestroyed() {
  if (events_.Unloaded) events_.Unloaded();
}

}  // namespace nw
