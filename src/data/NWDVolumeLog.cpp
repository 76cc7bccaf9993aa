#include "data/NWDVolumeLog.h"

#include <exception>

#include "classlib/otkFileString.h"
#include "data/NWDGlobal.h"
#include "data/NWDVerCheck.h"

namespace nw {

namespace {

bool ValidSlot(int32_t slot) { return slot >= 0 && slot < kLogCapacity; }

// Opens `log` and gives the slot of its newest record (or of the open dial slot) whose key is `key`.
std::optional<int32_t> SlotOfRecord(const LogFileKind& log, Date key) {
  // A log that was never written has no record (and is not created by looking).
  if (key == 0 || otkFileString::FileKindOf(AppPath(log.FileName)) != 1) return std::nullopt;
  HistoryLog h;
  if (!h.Open(log)) return std::nullopt;
  const LogRing& ring = h.Ring();
  const int32_t newest = SlotNewestFirst(ring, 0);
  const bool dial = log.FileName == kDialLog.FileName;
  for (int32_t slot : {newest, dial ? ring.NextSlot : -1}) {
    if (!ValidSlot(slot)) continue;
    Date found = 0;
    if (dial) {
      DialRecord r;
      if (h.ReadDial(slot, r)) found = r.DialStart;
    } else {
      CounterRecord r;
      if (h.ReadCounter(slot, r)) found = r.ResetDate;
    }
    if (found == key) return slot;
  }
  return std::nullopt;
}

template <class Change>
VolumeRecordWrite ChangeVolumeLog(const LogFileKind& log, Date key, Change change) {
  VolumeRecordWrite w;
  try {
    const std::optional<int32_t> slot = SlotOfRecord(log, key);
    if (!slot) return w;
    const VolumeLogKind& kind = VolumeLogFor(log);
    VolumeLog v;
    w.Damaged = v.Load(kind) == CheckedFileState::Damaged;
    change(v, *slot);
    w.Written = v.Save(kind);
  } catch (const std::exception&) {  // out of memory: the old file stays
    w.Written = false;
  }
  return w;
}

}  // namespace

const VolumeLogKind& VolumeLogFor(const LogFileKind& log) {
  if (log.FileName == kDialLog.FileName) return kDialVolume;
  return log.FileName == kUserLog.FileName ? kUserVolume : kTodayVolume;
}

CheckedFileState VolumeLog::Load(const VolumeLogKind& kind) {
  entries_.assign(kLogCapacity, Entry{});
  otkFileRWCtrl f;
  const CheckedFileState state = OpenCheckedFile(f, AppPath(kind.FileName), kind.KindTag, kVolumeLogVersion);
  if (state != CheckedFileState::Loaded) return state;
  std::vector<Entry> read(kLogCapacity);
  int32_t count = 0;
  bool ok = f.GetLong(count) && count >= 0 && count <= kLogCapacity;
  int32_t previous = -1;
  for (int32_t i = 0; ok && i < count; ++i) {
    int32_t slot = 0;
    Entry e;
    ok = f.GetLong(slot) && f.GetDate(e.Key) && GetQuad(f, e.Amount.Sent) && GetQuad(f, e.Amount.Received) &&
         slot > previous && ValidSlot(slot) && e.Key != 0 && IsValidDate(e.Key);
    if (ok) read[static_cast<size_t>(slot)] = e;
    previous = slot;
  }
  if (!ok || !AtBodyEnd(f)) return CheckedFileState::Damaged;
  entries_ = std::move(read);
  return CheckedFileState::Loaded;
}

bool VolumeLog::Save(const VolumeLogKind& kind) const {
  try {
    return ReplaceDataFile(AppPath(kind.FileName), kind.KindTag, kVolumeLogVersion, [this](otkFileRWCtrl& f) {
      const int64_t start = f.CurrentPoint();
      int32_t count = 0;
      for (const Entry& e : entries_) count += e.Key != 0 ? 1 : 0;
      bool ok = f.SetLong(count);
      for (int32_t slot = 0; ok && slot < kLogCapacity; ++slot) {
        const Entry& e = entries_[static_cast<size_t>(slot)];
        if (e.Key == 0) continue;
        ok = f.SetLong(slot) && f.SetDate(e.Key) && SetQuad(f, e.Amount.Sent) && SetQuad(f, e.Amount.Received);
      }
      return ok && WriteBodyCheck(f, start);
    });
  } catch (const std::exception&) {
    return false;
  }
}

std::optional<VolumeAmount> VolumeLog::Find(int32_t slot, Date key) const {
  if (!ValidSlot(slot) || key == 0) return std::nullopt;
  const Entry& e = entries_[static_cast<size_t>(slot)];
  if (e.Key != key) return std::nullopt;
  return e.Amount;
}

void VolumeLog::Set(int32_t slot, Date key, VolumeAmount amount) {
  if (!ValidSlot(slot) || key == 0 || !IsValidDate(key)) return;
  entries_[static_cast<size_t>(slot)] = Entry{key, amount};
}

void VolumeLog::Merge(int32_t slot, Date key, VolumeAmount amount) {
  if (const std::optional<VolumeAmount> had = Find(slot, key)) amount += *had;
  Set(slot, key, amount);
}

bool VolumeLog::Rekey(int32_t slot, Date oldKey, Date newKey) {
  const std::optional<VolumeAmount> had = Find(slot, oldKey);
  if (!had) return false;
  Clear(slot);
  Set(slot, newKey, *had);
  return true;
}

void VolumeLog::Clear(int32_t slot) {
  if (ValidSlot(slot)) entries_[static_cast<size_t>(slot)] = Entry{};
}

VolumeRecordWrite RecordDialVolume(Date dialStart, VolumeAmount amount) {
  return ChangeVolumeLog(kDialLog, dialStart, [&](VolumeLog& v, int32_t slot) { v.Set(slot, dialStart, amount); });
}

VolumeRecordWrite RecordCounterVolume(const LogFileKind& log, Date resetDate, VolumeAmount amount) {
  return ChangeVolumeLog(log, resetDate, [&](VolumeLog& v, int32_t slot) { v.Merge(slot, resetDate, amount); });
}

}  // namespace nw
