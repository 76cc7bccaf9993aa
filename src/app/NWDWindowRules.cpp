#include "app/NWDWindowRules.h"

#include <algorithm>
#include <cmath>

#include "app/NWDMenuIds.h"

namespace nw {

bool SwitchDisplayMode(DisplayModes& modes, int32_t mode) {
  if (mode == modes.DisplayMode) return false;
  modes.PreviousDisplayMode = modes.DisplayMode;
  modes.DisplayMode = mode;
  return true;
}

int32_t RestoreDisplayMode(const DisplayModes& modes) {
  // A window must come back: the tray mode, or a value no mode has (a damaged file), is the main window.
  return modes.PreviousDisplayMode == kModeCompact ? kModeCompact : kModeMain;
}

int32_t StartupDisplayMode(int32_t savedMode, bool expStart, const DisplayModes& modes) {
  if (savedMode < kModeTray || savedMode > kModeCompact) savedMode = kModeMain;
  if (savedMode == kModeTray && expStart) return RestoreDisplayMode(modes);
  return savedMode;
}

CloseDecision DecideClose(bool unloading, CloseSource source, bool trayIconShown, bool explicitExit) {
  if (unloading) return CloseDecision::Allow;
  const bool fromWindowOrProgram = source == CloseSource::CloseBox || source == CloseSource::Program;
  if (fromWindowOrProgram && trayIconShown && !explicitExit) return CloseDecision::StayInTray;
  return CloseDecision::Unload;
}

TwipRect CenterFormOver(const TwipRect& source, TwipRect target, bool keepOnScreen, int32_t screenW,
                        int32_t screenH) {
  // Halves round to whole twips, ties to even (the rounding of the window coordinates).
  auto half = [](int32_t v) { return static_cast<int32_t>(std::nearbyint(v / 2.0)); };
  target.Left = half(source.Width - target.Width) + source.Left;
  target.Top = half(source.Height - target.Height) + source.Top;
  if (keepOnScreen) {
    target.Left = std::min(std::max(target.Left, 0), std::max(screenW - target.Width, 0));
    target.Top = std::min(std::max(target.Top, 0), std::max(screenH - target.Height, 0));
  }
  return target;
}

bool DefaultSetMenuShown(bool rsIdlFLG, size_t setCount) { return rsIdlFLG && setCount >= 2; }

std::string DefaultSetItemCaption(const std::string& setName, bool isDefault) {
  return isDefault ? setName + " - (標準)" : setName;
}

std::string UserClearCaption(bool userRenew, const std::string& counterName) {
  if (!userRenew) return "ﾕｰｻﾞｰ定義は設定されていません";
  return "\"" + counterName + "\" ｶｳﾝﾄﾘｾｯﾄ(&U)";
}

namespace {

MenuEntry Item(int id, std::string caption, bool enabled = true, bool checked = false) {
  MenuEntry e;
  e.Id = id;
  e.Caption = std::move(caption);
  e.Enabled = enabled;
  e.Checked = checked;
  return e;
}
MenuEntry Separator() { return MenuEntry{}; }

std::vector<MenuEntry> DefaultSetItems(const MenuInputs& in, int baseId) {
  std::vector<MenuEntry> items;
  const size_t n = std::min<size_t>(in.SetNames.size(), cmd::kMaxDefaultSetItems);
  for (size_t i = 0; i < n; ++i) {
    const bool isDefault = static_cast<int32_t>(i) == in.RsSetInfoStd;
    items.push_back(Item(baseId + static_cast<int>(i), DefaultSetItemCaption(in.SetNames[i], isDefault)));
  }
  return items;
}

void CollectIds(const std::vector<MenuEntry>& items, std::vector<int>& out) {
  for (const MenuEntry& e : items) {
    if (!e.Items.empty()) {
      if (e.Enabled) CollectIds(e.Items, out);
    } else if (e.Id != 0 && e.Enabled) {
      out.push_back(e.Id);
    }
  }
}

}  // namespace

void TakeLogMenuState(MenuInputs& in, const ActivityLogCommands::MenuState& log) {
  in.LoggingFLG = log.LoggingChecked;
  in.LogFileExists = log.DeleteEnabled;
}

std::vector<MenuTop> BuildMainMenu(const MenuInputs& in) {
  MenuTop main{"ﾒｲﾝ(&M)", {}};
  auto& m = main.Items;
  m.push_back(Item(cmd::DialUpnu, "ﾀﾞｲｱﾙｱｯﾌﾟ接続の開始(&D)", !in.LineConnected));
  m.push_back(Item(cmd::DialHupnu, "ﾀﾞｲｱﾙｱｯﾌﾟ接続を切断(&H)", in.LineConnected));
  if (DefaultSetMenuShown(in.RsIdlFLG, in.SetNames.size())) {
    m.push_back(Separator());  // LineDSD
    MenuEntry sets = Item(0, "標準の接続情報保存ｾｯﾄを指定(&F)");
    sets.Items = DefaultSetItems(in, cmd::DialSetDefItemnu);
    m.push_back(std::move(sets));
  }
  m.push_back(Separator());
  m.push_back(Item(cmd::Renewnu, "最新情報に更新(&R)"));
  m.push_back(Item(cmd::Clearnu, "状況ﾘｽﾄｸﾘｱ(&C)"));
  m.push_back(Separator());
  m.push_back(Item(cmd::TodayClear, "\"今日\" ｶｳﾝﾄﾘｾｯﾄ(&T)"));
  m.push_back(Item(cmd::UserClear, UserClearCaption(in.UserRenew, in.CounterName), in.UserRenew));
  m.push_back(Separator());
  m.push_back(Item(cmd::Historynu, "履歴の一覧(&H)..."));
  m.push_back(Separator());
  m.push_back(Item(cmd::Compnu, "ｳｨﾝﾄﾞｳをｺﾝﾊﾟｸﾄ化(&P)..."));
  if (in.TrayResident) m.push_back(Item(cmd::InTraynu, "ﾀｽｸﾄﾚｲに入れる(&T)"));
  m.push_back(Separator());
  m.push_back(Item(cmd::Closenu, "閉じる(&X)"));

  MenuTop util{"設定(&U)", {}};
  auto& u = util.Items;
  u.push_back(Item(cmd::UtilActnu, "動作の設定(&A)..."));
  u.push_back(Item(cmd::UtilSprnu, "高度な設定(&S)..."));
  u.push_back(Item(cmd::UtilSprWatchEntrynu, "監視ｴﾝﾄﾘの高度な設定(&E)..."));
  u.push_back(Separator());
  u.push_back(Item(cmd::Loggingnu, "ﾛｸﾞの開始(&L)", true, in.LoggingFLG));
  u.push_back(Item(cmd::AdsLognu, "ﾛｸﾞﾌｧｲﾙの場所(&W)..."));
  u.push_back(Item(cmd::DelLognu, "ﾛｸﾞﾌｧｲﾙの削除(&D)", in.LogFileExists));

  MenuTop help{"ﾍﾙﾌﾟ(&H)", {}};
  help.Items.push_back(Item(cmd::Apphpnu, "目次(&C)..."));
  help.Items.push_back(Separator());
  help.Items.push_back(Item(cmd::Vernu, "ﾊﾞｰｼﾞｮﾝ情報(&V)..."));

  return {std::move(main), std::move(util), std::move(help)};
}

std::vector<MenuEntry> BuildTrayMenu(const MenuInputs& in) {
  std::vector<MenuEntry> t;
  t.push_back(Item(cmd::trDialUpnu, in.LineConnected ? "切断(&H)" : "接続(&D)"));
  if (DefaultSetMenuShown(in.RsIdlFLG, in.SetNames.size())) {
    t.push_back(Separator());  // trLineDSD
    MenuEntry sets = Item(0, "標準(&F)");
    sets.Items = DefaultSetItems(in, cmd::trDialSetDefItemnu);
    t.push_back(std::move(sets));
  }
  t.push_back(Separator());
  t.push_back(Item(cmd::trExpnu, "表示(&E)..."));
  t.push_back(Item(cmd::trEndnu, "終了(&X)"));
  return t;
}

bool CommandAvailable(const MenuInputs& in, int id) {
  std::vector<int> ids;
  for (const MenuTop& top : BuildMainMenu(in)) CollectIds(top.Items, ids);
  CollectIds(BuildTrayMenu(in), ids);
  return std::find(ids.begin(), ids.end(), id) != ids.end();
}

}  // namespace nw
