#pragma once
// The advanced settings dialog and the watch-entry dialog without their windows.
//
// Advanced settings: the dialog keeps its own copy of the connection information sets (ConnSetList:
// slots, the standard slot, a pool of freed slots, the list in the order shown) and edits it with
// register, update, default and delete; "O.K." stores the list order into the settings together
// with the system-time correction page (ApplySpr).
//
//     ConnSetList sets(settings);
//     SetOutcome o = sets.Register(typed, false);
//     if (o.What == SetOutcome::Asked && user says Yes) o = sets.Register(typed, true);
//     ... Refused: warn o.Message, focus o.Field; Done: inform o.Message, select o.Position ...
//     if (SprProblem p = ApplySpr(values, sets, settings)) { select p.Page, warn, focus p.Field; }
//
// Watch entries: the threshold options, the way, the ticks of the phonebook list and the apply.
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "data/NWDGlobal.h"

namespace nw {

// ---- advanced settings ------------------------------------------------------------------------------

// The four boxes of one set, as typed.
struct ConnSetInput {
  std::string SetName, EntryName, UserName, Password;
};

// What a register or update came to: refused (warn Message, focus Field), a question to ask
// first (Yes: run again with the blanks accepted; No: focus Field), or done (inform Message).
struct SetOutcome {
  enum Kind { Refused, Asked, Done } What = Done;
  int Field = 0;  // an id of NWDUtilSprIds.h
  std::string Message;
  int Position = -1;  // Done: the list position of the set
};

class ConnSetList {
 public:
  // The default-set menus show and choose at most this many sets, so no more can be registered.
  static constexpr int kMaxSets = 256;

  explicit ConnSetList(const SettingsRecord& settings);

  int Count() const { return static_cast<int>(list_.size()); }
  int SlotAt(int position) const { return list_.at(static_cast<size_t>(position)); }
  const RsSetInfoEntry& SetAt(int position) const { return slots_.at(static_cast<size_t>(SlotAt(position))); }
  // The list text: the set name, with " - (標準)" on the standard set.
  std::string TextAt(int position) const;
  int StandardSlot() const { return standard_; }
  int LastSlot() const { return static_cast<int>(slots_.size()) - 1; }
  const std::deque<int>& FreeSlots() const { return pool_; }

  void MakeStandard(int position);
  SetOutcome Register(const ConnSetInput& in, bool blanksAccepted);
  SetOutcome Update(const ConnSetInput& in, bool blanksAccepted);
  // Removes the list entry; returns the position to select now (-1: the list is empty).
  int Delete(int position);

  // The sets in list order, the standard one's position (-1 none) and RsSetInfoLast.
  void StoreInto(SettingsRecord& settings) const;

 private:
  std::vector<RsSetInfoEntry> slots_;  // an empty name marks a free slot
  std::vector<int> list_;              // slot of each list entry, in list order
  int standard_ = -1;
  std::deque<int> pool_;  // freed slots, oldest first
};

// The warning shown while the set's entry is missing from the phonebook list.
std::string MissingEntryNote(const std::string& entryName);
// The question before deleting a set.
std::string DeleteSetQuestion();

// The system-time page and the flag, as the controls hold them (options as indexes, -1 none).
struct SprValues {
  bool RsIdlFLG = false;
  int SyCngDlg = 0;
  std::string SyTimeOut;
  int SyOutDlg = 0;
};
SprValues LoadSpr(const SettingsRecord& settings);

// The first two timeout options are offered only when the change is not asked about (option 2);
// asking selects option 2 of the timeout as well.
struct SyOutState {
  bool FirstTwoEnabled;
  int SyOutDlg;
};
SyOutState SyOutRule(int syCngDlg, int syOutDlg);

// A refused page: the page to select, the control to focus (0 none) and the warning.
struct SprProblem {
  int Page = -1;
  int Field = 0;
  std::string Message;
  explicit operator bool() const { return !Message.empty(); }
};

// Checks the pages in order on a working copy of `settings` and writes it back when both pass.
SprProblem ApplySpr(const SprValues& values, const ConnSetList& sets, SettingsRecord& settings);

// ---- watch entries ---------------------------------------------------------------------------------

inline constexpr int kWatchDetailOptions = 7;
// The option showing a stored threshold (values not offered show "接続の状態以降(&C)") and the
// threshold an option stores (none selected: connected).
int WatchDetailOption(int32_t stored);
int32_t WatchDetailValue(int option);
// The way's option: (1) the operating system's dial-up library, else (0) the browser's.
int WatchWayOption(int32_t stored);
// The entry and threshold pages can be chosen only while the operating-system way is selected.
bool WatchPagesReachable(int wayOption);
// Which of the phonebook's `items` are ticked for the watched `names` (exact matches).
std::vector<bool> TickedItems(const std::vector<std::string>& items, const std::vector<std::string>& names);
// The live state texts: "なし" without a selected entry, else "接続状態" / "切断状態".
std::string NoEntryText();
std::string EntryStateText(bool connected);
// "再表示(&R)" could not read the phonebook: the list and the ticks shown stay.
std::string EntriesUnreadMessage();

struct WatchValues {
  int Way = 0;
  bool EntriesRead = false;  // the last phonebook read succeeded
  std::vector<std::string> Ticked;
  int DetailOption = -1;
};
// Stores the way, the ticked entries (kept as stored when the phonebook could not be read) and
// the threshold; the message when something unexpected failed, else empty.
std::string ApplyWatchEntry(const WatchValues& values, SettingsRecord& settings);

}  // namespace nw
