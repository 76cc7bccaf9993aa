// The data volume: the cycle's traffic reading, the volume texts of the main window and the tray
// tip, the quota's warnings, notice and hold, and the saves of NwdUtil.vol and the .vol logs.
#include "classlib/otkSizeText.h"
#include "monitor/Monitor.h"

namespace nw {

namespace {

constexpr const char* kBalloonTitle = "Orvin.T.K. NetWard";
// The tray tip's field: 63 bytes in code page 932 and the terminating zero.
constexpr size_t kTipBytes = 63;

// Bytes `utf8` takes in code page 932: ASCII and half-width katakana one, the rest two. Counted
// here rather than converted: the tip is built every second while connected.
size_t Cp932Bytes(std::string_view utf8) {
  size_t n = 0;
  for (size_t i = 0; i < utf8.size();) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      ++n;
      ++i;
      continue;
    }
    const size_t len = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
    bool halfWidth = false;
    if (c == 0xEF && i + 2 < utf8.size()) {  // U+FF61 to U+FF9F
      const auto c1 = static_cast<unsigned char>(utf8[i + 1]);
      const auto c2 = static_cast<unsigned char>(utf8[i + 2]);
      halfWidth = (c1 == 0xBD && c2 >= 0xA1) || (c1 == 0xBE && c2 <= 0x9F);
    }
    n += halfWidth ? 1 : 2;
    i += len;
  }
  return n;
}

}  // namespace

std::string Monitor::SentReceivedLine(VolumeAmount a) {
  return "送信: " + otk::FormatSize(a.Sent) + ", 受信: " + otk::FormatSize(a.Received);
}

void Monitor::CountTraffic() {
  if (!traffic_ || !lineConnected_) return;
  const TrafficMeter::Result r = meter_.Take(traffic_->Read());
  if (r.What == TrafficMeter::Step::Invalid) return;
  volumeMeasured_ = true;
  if (r.What == TrafficMeter::Step::Counted) volume_.Add(r.Amount, settings_.UserRenew);
}

void Monitor::RefreshVolumeTexts(Date now, bool force) {
  const VolumeAmount connection = lineConnected_ ? ConnectionVolume() : VolumeAmount{};
  const VolumeAmount period = settings_.UserRenew ? volume_.UserTotal() : volume_.TodayTotal();
  DailyAllowance allowance;
  if (volumeData_.Quota.QuotaOn)
    allowance = ComputeDailyAllowance(settings_, counters_.UserRenewTime, now, volumeData_.Quota, volume_.UserTotal());
  const VolumeParts parts{lineConnected_, settings_.UserRenew, !connection.Empty() || !period.Empty(),
                          lineConnected_ ? otk::SizeTextKey(connection.Total()) : 0,
                          otk::SizeTextKey(period.Total()),
                          allowance.Known ? otk::SizeTextKey(allowance.Bytes) + 1 : 0};
  if (!force && volumeDrawn_ && parts == volumeParts_) return;
  // A line whose volume nobody measured leaves the volume line blank and the tip as it was.
  volumeText_.clear();
  if (parts.Counted) volumeText_ = (parts.UserRenew ? "期間 " : "今日 ") + otk::FormatSize(period.Total());
  if (parts.Counted && parts.Line) volumeText_ = "今回 " + otk::FormatSize(connection.Total()) + " / " + volumeText_;
  allowanceText_ = allowance.Known ? "1日あたりの残り: " + otk::FormatSize(allowance.Bytes) : std::string();
  volumeParts_ = parts;
  volumeDrawn_ = true;
  view_.DrawVolume(volumeText_, allowanceText_);
  tipVolume_ = volumeParts_.Counted ? "\n" + volumeText_ : std::string();
  UpdateTrayTip(false);
}

void Monitor::UpdateTrayTip(bool force) {
  // Handed over also while no icon is shown: the view keeps it for an icon added later, and asking
  // the view whether its icon is shown would wait for an add still under way.
  // The volume goes in whole or not at all: the tip field cuts what does not fit.
  const bool withVolume = !tipVolume_.empty() && Cp932Bytes(caption_) + Cp932Bytes(tipVolume_) <= kTipBytes;
  const size_t n = caption_.size();
  const bool same = trayTip_.size() == n + (withVolume ? tipVolume_.size() : 0) && trayTip_.compare(0, n, caption_) == 0 &&
                    (!withVolume || trayTip_.compare(n, std::string::npos, tipVolume_) == 0);
  if (!force && trayTipSet_ && same) return;
  trayTip_.assign(caption_);
  if (withVolume) trayTip_ += tipVolume_;
  trayTipSet_ = true;
  view_.SetTrayTip(trayTip_);
}

bool Monitor::QuotaHoldsLine() const {
  return CheckQuota(volumeData_.Quota, volume_.UserTotal(), volumeData_.Counters.Marks).HoldLineDown;
}

void Monitor::ApplyQuota() {
  const QuotaSettings& quota = volumeData_.Quota;
  if (!quota.QuotaOn) return;
  QuotaMarks& marks = volumeData_.Counters.Marks;
  const VolumeAmount period = volume_.UserTotal();
  if (quotaChecked_ && QuotaMeasure(quota, period) < quotaNextAt_ && marks == quotaMarksSeen_ && quota == quotaSeen_)
    return;
  const QuotaCheck q = CheckQuota(quota, period, marks);
  quotaSeen_ = quota;
  quotaMarksSeen_ = marks;
  quotaNextAt_ = QuotaNextThreshold(quota, marks);
  quotaChecked_ = true;
  if (q.WarnDue == 0 && !q.FullDue) {
    // Held down: a line brought up from outside goes down again, as the lock would do.
    if (q.HoldLineDown && lineConnected_) RequestLine(1, true);
    return;
  }
  // Marked and saved before anything is shown: the notice's own cycles must not repeat it, nor a
  // restart.
  MarkQuotaAnnounced(quota, q, marks);
  SaveVolume();
  if (q.WarnDue != 0) {
    const std::string text = QuotaWarningText(quota, q.WarnDue, q.Used);
    StatusEvent(text);
    if (view_.TrayIconShown()) view_.ShowTrayBalloon(kBalloonTitle, text);
    return;
  }
  const std::string main = QuotaReachedText(settings_.CounterName, quota);
  StatusEvent(main);
  if (q.HoldLineDown) {
    StatusDetail("手動で接続すると、切断の維持を解除します。");
    if (lineConnected_) RequestLine(1, true);
  }
  ShowNoticeDialog(main, QuotaReachedSubText(quota), 0, -1);
}

void Monitor::SaveVolume() {
  if (volumeData_ == savedVolume_) return;
  const bool ok = store_.SaveVolume(volumeData_);
  if (ok) savedVolume_ = volumeData_;
  if (ok || volumeSaveFailed_) {
    volumeSaveFailed_ = !ok;
    return;
  }
  volumeSaveFailed_ = true;
  StatusEvent("ﾃﾞｰﾀ量の記録を保存できませんでした。");
  StatusDetail(std::string(kVolumeFileName) + " に書き込めないため、次の保存時に再試行します。");
}

void Monitor::VolumeFileDamaged(std::string_view fileName) { StatusEvent(VolumeFileDamagedLine(fileName)); }

void Monitor::NoteVolumeWrite(const VolumeRecordWrite& w, std::string_view fileName) {
  if (w.Damaged) VolumeFileDamaged(fileName);
}

void Monitor::RecordDialVolume(Date dialStart, VolumeAmount amount) {
  if (!traffic_) return;
  NoteVolumeWrite(store_.RecordDialVolume(dialStart, amount), kDialVolume.FileName);
}

void Monitor::RecordCounterVolume(LogListKind kind, Date resetDate, VolumeAmount amount) {
  if (!traffic_) return;
  NoteVolumeWrite(store_.RecordCounterVolume(kind, resetDate, amount),
                  kind == LogUser ? kUserVolume.FileName : kTodayVolume.FileName);
}

}  // namespace nw
