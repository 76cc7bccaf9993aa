#include "data/NWDVolumeFile.h"

#include <exception>

#include "data/NWDGlobal.h"
#include "data/NWDVerCheck.h"

namespace nw {

namespace {

constexpr int32_t kAdapterLimit = 258;

struct Writer {
  otkFileRWCtrl& F;
  bool Bool(bool& v) { return F.SetBoolean(v); }
  bool Int(int16_t& v) { return F.SetInteger(v); }
  bool Quad(uint64_t& v) { return SetQuad(F, v); }
  bool DateField(Date& v) { return F.SetDate(v); }
  bool Text(std::string& v) { return F.SetString(v); }
};

struct Reader {
  otkFileRWCtrl& F;
  bool Bool(bool& v) { return F.GetBoolean(v); }
  bool Int(int16_t& v) { return F.GetInteger(v); }
  bool Quad(uint64_t& v) { return GetQuad(F, v); }
  bool DateField(Date& v) { return F.GetDate(v) && (v == 0 || IsValidDate(v)); }
  bool Text(std::string& v) { return F.GetStringChecking(kAdapterLimit, v); }
};

template <class V>
bool Amount(V& v, VolumeAmount& a) {
  return v.Quad(a.Sent) && v.Quad(a.Received);
}

// One field list for both directions.
template <class V>
bool VisitFields(V& v, VolumeFileData& d) {
  QuotaSettings& q = d.Quota;
  VolumeCounterBlock& c = d.Counters;
  auto action = static_cast<int16_t>(q.AtFull);
  const bool ok = v.Bool(q.QuotaOn) && v.Quad(q.Allowance) && v.Int(q.AllowanceUnit) && v.Int(q.WarnPercent1) &&
                  v.Int(q.WarnPercent2) && v.Int(action) && v.Bool(q.CountSent) && v.Text(q.Adapter) &&
                  v.DateField(c.TodayDate) && Amount(v, c.Today) && v.DateField(c.UserRenewTime) &&
                  Amount(v, c.User) && v.Bool(c.Marks.Warned1) && v.Bool(c.Marks.Warned2) &&
                  v.Bool(c.Marks.FullNoticed) && v.Bool(c.Marks.Released) && v.DateField(c.ConnectionStart) &&
                  Amount(v, c.Connection) && Amount(v, c.TodayRunning) && Amount(v, c.UserRunning);
  q.AtFull = action == 1 ? QuotaAction::HangUpAndHold : QuotaAction::TellOnly;
  return ok && (action == 0 || action == 1);
}

template <class V>
bool VisitDisplay(V& v, VolumeDisplaySettings& d) {
  return v.Bool(d.hdSent) && v.Bool(d.hdReceived) && v.Bool(d.htSent) && v.Bool(d.htReceived) && v.Bool(d.huSent) &&
         v.Bool(d.huReceived) && v.Bool(d.gphVolume) && v.Bool(d.ExpVol);
}

// Values no page would have stored: the file is not trusted as a whole.
bool Plausible(const QuotaSettings& q) {
  return q.AllowanceUnit >= 0 && q.AllowanceUnit <= 1 && q.WarnPercent1 >= 1 && q.WarnPercent1 < q.WarnPercent2 &&
         q.WarnPercent2 <= 100;
}

}  // namespace

CheckedFileState LoadVolumeFile(VolumeFileData& ou) {
  try {
    otkFileRWCtrl f;
    const CheckedFileState state = OpenCheckedFile(f, AppPath(kVolumeFileName), kVolumeKindTag, kVolumeFileVersion);
    if (state != CheckedFileState::Loaded) return state;
    VolumeFileData d;
    Reader r{f};
    if (!VisitFields(r, d) || !Plausible(d.Quota)) return CheckedFileState::Damaged;
    // The display switches came later; a body without them keeps their defaults.
    if (!AtBodyEnd(f) && (!VisitDisplay(r, d.Display) || !AtBodyEnd(f))) return CheckedFileState::Damaged;
    ou = std::move(d);
    return CheckedFileState::Loaded;
  } catch (const std::exception&) {
    return CheckedFileState::Damaged;
  }
}

bool SaveVolumeFile(const VolumeFileData& data) {
  try {
    VolumeFileData d = data;
    return ReplaceDataFile(AppPath(kVolumeFileName), kVolumeKindTag, kVolumeFileVersion, [&d](otkFileRWCtrl& f) {
      const int64_t start = f.CurrentPoint();
      Writer w{f};
      return VisitFields(w, d) && VisitDisplay(w, d.Display) && WriteBodyCheck(f, start);
    });
  } catch (const std::exception&) {  // out of memory: the old file stays
    return false;
  }
}

std::string VolumeFileDamagedLine(std::string_view fileName) {
  return std::string(fileName) + " が壊れていたため、ﾃﾞｰﾀ量の記録を初期化しました。";
}

VolumeFileData& VolumeGlobal() {
  static VolumeFileData data;
  return data;
}

}  // namespace nw
