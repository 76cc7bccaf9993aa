#pragma once
// The compact window's arithmetic, free of Windows: which rows and columns show, where the
// columns start, how large the client area is, the texts of each column, the menu toggles that
// may never leave the grid empty, and where closing the window leads.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "data/NWDGlobal.h"

namespace nw::comp {

// Fixed geometry in 96-DPI pixels.
inline constexpr int kRowPitch = 18;
inline constexpr int kLabelWidth = 116;  // the label column, gap included
inline constexpr int kLabelFit = 108;    // the user counter's label is shortened to this at least
inline constexpr int kLabelMaxFit = 140;  // the label column grows for its texts up to this
inline constexpr int kTimeWidth = 108;
inline constexpr int kCountWidth = 42;
inline constexpr uint32_t kGrey = 0x808080;  // COLORREF of a switched-off user counter
// The volume line below the rows: wide enough for a typical text with MB and GB figures (a little
// wider than the whole grid), so the window does not change its size while the numbers grow.
inline constexpr int kVolumeWidth = 300;
inline constexpr int kVolumeHeight = kRowPitch - 5;

enum class Row { Now, Today, User };

struct Layout {
  std::vector<Row> Rows;            // shown rows, in the order Now, Today, User
  std::vector<uint32_t> RowColors;  // one per row: 0 black, kGrey for a switched-off user counter
  std::vector<std::string> Labels;  // captions of Mess(0..), one per row; empty when ExpLbl is off
  int TimeLeft = -1;                // column starts (pixels from the client's left), -1 not shown
  int CountLeft = -1;
  int ClientWidth = 0;
  int ClientHeight = 0;
  int DrawTop = 0;    // top of the columns
  int BoxHeight = 0;  // height of a column box: rows x 18 - 5
  int VolumeTop = -1;  // top of the volume line (at the left of PosPx), -1 not shown
  int LabelFit = kLabelFit;  // the labels' width; the user counter's label is shortened to it
};

// The grid for the display settings; (posLeft, posTop) is the design position of PosPx. expVol: the
// volume line is shown one row pitch below the rows (its switch lives in the volume file, whose
// layout may grow, not in the settings record, whose layout may not). measure: a text's width in
// 96-DPI pixels; given, the label column grows (up to kLabelMaxFit) until the labels fit whole,
// the user counter's with the "..." FitText measures it with, so the default names are never cut.
Layout ComputeLayout(const SettingsRecord& s, int posLeft, int posTop, bool expVol,
                     const std::function<int(const std::string&)>& measure = {});

// Caption of a row label: a double quote, the row's name, a double quote, " ｶｳﾝﾀ:".
std::string RowLabel(Row row, const std::string& counterName);

// Menu captions of the display items whose text depends on the settings.
std::string ExpUsrMenuCaption(const std::string& counterName);

// The six display items of the "表示" menu.
enum class Item { Lbl, Tim, Cnt, Now, Tdy, Usr };
// Inverts one display setting; false (nothing changed) when that would leave no column or no row.
bool ToggleItem(SettingsRecord& s, Item item);
bool ItemChecked(const SettingsRecord& s, Item item);

// What ExpressAcmComp shows, one text per shown row in each shown column.
struct ColumnTexts {
  std::vector<std::string> Time;
  std::vector<std::string> Count;
};
// connectionSeconds: the running connection's length (the "接続／切断" row); agIToday/agIUser the
// running parts of the counters, agCIval the count increment (1 while connected).
ColumnTexts MakeColumnTexts(const SettingsRecord& s, const CounterBlock& c, int32_t connectionSeconds,
                            int32_t agIToday, int32_t agIUser, int32_t agCIval);

// The last texts a column drew: redraw only when they change, unless forced.
class ColumnMemory {
 public:
  // True when the column must be drawn; remembers `texts` then.
  bool Update(const std::vector<std::string>& texts, bool force);
  void Forget() { texts_.clear(); drawn_ = false; }
  const std::vector<std::string>& Texts() const { return texts_; }
  int LastIndex() const { return drawn_ ? static_cast<int>(texts_.size()) - 1 : -1; }

 private:
  std::vector<std::string> texts_;
  bool drawn_ = false;
};

// Shortens `text` to `maxWidth` with a trailing "...": characters are added one at a time, and
// the first prefix whose width with "..." exceeds the limit is cut back by one character. Text
// that fits whole (with "..." appended) is returned unchanged.
std::string FitText(const std::string& text, int maxWidth, const std::function<int(const std::string&)>& measure);

// Where the compact window's unload leads.
enum class UnloadLeadsTo {
  Nothing,     // the program is ending, or an exit command closed it
  MainWindow,  // "戻る(&B)"
  Tray,        // close box with the tray icon: display mode 0, the main window moved to where we were
  EndProgram,  // close box without a tray icon: the main window's UnloadAction
};
UnloadLeadsTo DecideUnload(bool unloading, bool explicitExit, bool backRequest, bool trayIconShown);

}  // namespace nw::comp
