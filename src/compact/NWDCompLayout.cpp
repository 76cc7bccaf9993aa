#include "compact/NWDCompLayout.h"

#include <algorithm>

#include "classlib/otkDateFormat.h"

namespace nw::comp {

namespace {

bool RowShown(const SettingsRecord& s, Row r) {
  switch (r) {
    case Row::Now: return s.ExpNow;
    case Row::Today: return s.ExpTdy;
    case Row::User: return s.ExpUsr;
  }
  return false;
}

bool& Flag(SettingsRecord& s, Item item) {
  switch (item) {
    case Item::Lbl: return s.ExpLbl;
    case Item::Tim: return s.ExpTim;
    case Item::Cnt: return s.ExpCnt;
    case Item::Now: return s.ExpNow;
    case Item::Tdy: return s.ExpTdy;
    case Item::Usr: break;
  }
  return s.ExpUsr;
}

// Length in bytes of the UTF-8 character starting with `lead`.
size_t Utf8Length(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 1;  // a stray continuation byte stands alone
}

}  // namespace

std::string RowLabel(Row row, const std::string& counterName) {
  switch (row) {
    case Row::Now: return "\"接続／切断\" ｶｳﾝﾀ:";
    case Row::Today: return "\"今日\" ｶｳﾝﾀ:";
    case Row::User: break;
  }
  return "\"" + counterName + "\" ｶｳﾝﾀ:";
}

std::string ExpUsrMenuCaption(const std::string& counterName) { return "\"" + counterName + "\" ｶｳﾝﾀ表示(&U)"; }

Layout ComputeLayout(const SettingsRecord& s, int posLeft, int posTop, bool expVol,
                     const std::function<int(const std::string&)>& measure) {
  Layout l;
  int need = 0;
  for (Row r : {Row::Now, Row::Today, Row::User}) {
    if (!RowShown(s, r)) continue;
    l.Rows.push_back(r);
    l.RowColors.push_back(r == Row::User && !s.UserRenew ? kGrey : 0);
    if (!s.ExpLbl) continue;
    l.Labels.push_back(RowLabel(r, s.CounterName));
    if (measure) need = std::max(need, measure(r == Row::User ? l.Labels.back() + "..." : l.Labels.back()));
  }
  l.LabelFit = std::clamp(need, kLabelFit, kLabelMaxFit);
  int x = posLeft;
  if (s.ExpLbl) x += l.LabelFit + (kLabelWidth - kLabelFit);
  if (s.ExpTim) {
    l.TimeLeft = x;
    x += kTimeWidth;
  }
  if (s.ExpCnt) {
    l.CountLeft = x;
    x += kCountWidth;
  }
  const int n = static_cast<int>(l.Rows.size());
  l.ClientWidth = x;
  l.ClientHeight = posTop + n * kRowPitch;
  l.DrawTop = posTop;
  l.BoxHeight = n * kRowPitch - 5;
  if (expVol) {
    l.VolumeTop = l.ClientHeight;
    l.ClientHeight += kRowPitch;
    l.ClientWidth = std::max(l.ClientWidth, posLeft + kVolumeWidth);
  }
  return l;
}

bool ItemChecked(const SettingsRecord& s, Item item) { return Flag(const_cast<SettingsRecord&>(s), item); }

bool ToggleItem(SettingsRecord& s, Item item) {
  bool& flag = Flag(s, item);
  if (flag) {
    // Never switch off the last column or the last row.
    if (item == Item::Tim && !s.ExpCnt) return false;
    if (item == Item::Cnt && !s.ExpTim) return false;
    const int rows = (s.ExpNow ? 1 : 0) + (s.ExpTdy ? 1 : 0) + (s.ExpUsr ? 1 : 0);
    if ((item == Item::Now || item == Item::Tdy || item == Item::Usr) && rows <= 1) return false;
  }
  flag = !flag;
  return true;
}

ColumnTexts MakeColumnTexts(const SettingsRecord& s, const CounterBlock& c, int32_t connectionSeconds,
                            int32_t agIToday, int32_t agIUser, int32_t agCIval) {
  ColumnTexts t;
  for (Row r : {Row::Now, Row::Today, Row::User}) {
    if (!RowShown(s, r)) continue;
    if (s.ExpTim) {
      int64_t seconds = 0;
      switch (r) {
        case Row::Now: seconds = connectionSeconds; break;
        case Row::Today: seconds = int64_t{c.TodaySeconds} + agIToday; break;
        // A switched-off user counter stands still: no running part.
        case Row::User: seconds = int64_t{c.UserSeconds} + (s.UserRenew ? agIUser : 0); break;
      }
      t.Time.push_back(FormatDuration(seconds, s.FormatIval));
    }
    if (s.ExpCnt) {
      switch (r) {
        case Row::Now: t.Count.push_back("--"); break;
        case Row::Today: t.Count.push_back(std::to_string(int64_t{c.TodayCount} + agCIval) + " 回"); break;
        // Like its time, a switched-off user counter's count does not take the running connection,
        // which will not be added to it either.
        case Row::User:
          t.Count.push_back(std::to_string(int64_t{c.UserCount} + (s.UserRenew ? agCIval : 0)) + " 回");
          break;
      }
    }
  }
  return t;
}

bool ColumnMemory::Update(const std::vector<std::string>& texts, bool force) {
  if (!force && drawn_ && texts == texts_) return false;
  texts_ = texts;
  drawn_ = true;
  return true;
}

std::string FitText(const std::string& text, int maxWidth, const std::function<int(const std::string&)>& measure) {
  size_t end = 0;
  while (end < text.size()) {
    const size_t next = std::min(text.size(), end + Utf8Length(static_cast<unsigned char>(text[end])));
    if (measure(text.substr(0, next) + "...") > maxWidth) return text.substr(0, end) + "...";
    end = next;
  }
  return text;
}

UnloadLeadsTo DecideUnload(bool unloading, bool explicitExit, bool backRequest, bool trayIconShown) {
  if (unloading || explicitExit) return UnloadLeadsTo::Nothing;
  if (backRequest) return UnloadLeadsTo::MainWindow;
  return trayIconShown ? UnloadLeadsTo::Tray : UnloadLeadsTo::EndProgram;
}

}  // namespace nw::comp
