#include "data/NWDVerCheck.h"

#include "classlib/otkFileString.h"

namespace nw {

namespace {
constexpr int32_t kTagLimit = 64;
}

HeaderCheck CheckHeader(otkFileRWCtrl& file, std::string_view kindTag, int16_t version) {
  DataFileHeader h;
  if (!file.GetStringChecking(kTagLimit, h.MakerTag) || !file.GetStringChecking(kTagLimit, h.ProductTag) ||
      !file.GetStringChecking(kTagLimit, h.KindTag))
    return HeaderBad;
  if (!file.GetInteger(h.FormatVersion)) return HeaderBad;
  if (h.MakerTag != kMakerTag || h.ProductTag != kProductTag || h.KindTag != kindTag) return HeaderBad;
  if (h.FormatVersion < version) return HeaderOlder;
  return h.FormatVersion > version ? HeaderNewer : HeaderSame;
}

bool WriteHeader(otkFileRWCtrl& file, std::string_view kindTag, int16_t version) {
  bool ok = file.SetString(kMakerTag);
  ok = file.SetString(kProductTag) && ok;
  ok = file.SetString(kindTag) && ok;
  return file.SetInteger(version) && ok;
}

bool ReplaceDataFile(const std::string& path, std::string_view kindTag, int16_t version,
                     const std::function<bool(otkFileRWCtrl&)>& body) {
  const std::string temp = path + ".tmp";
  otkFileRWCtrl f;
  f.FileAddress(temp);
  if (!f.OpenForBinaryClearing()) return false;
  bool ok = WriteHeader(f, kindTag, version);
  ok = body(f) && ok;
  ok = ok && f.Flush();
  f.CloseFile();
  ok = ok && os::MoveReplacing(temp, path);
  if (!ok) otkFileString::DeleteFileAt(temp);
  return ok;
}

}  // namespace nw
