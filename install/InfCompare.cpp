// Comparing the DriverVer entries of two INF files.
#include "install/InstallFunc.h"
#include "platform/IFileSystem.h"
#include "sysutil/Convert.h"
#include "sysutil/Exception.h"
#include "sysutil/ProfileFile.h"
#include "sysutil/UiTexts.h"

namespace {

constexpr size_t kVersionChars = 25;

}  // namespace

TDriverVer DriverVerOf(const TProfileFile& inf) {
  TString value = inf.ReadString(u"Version", u"DriverVer", u"");
  TDriverVer v;
  size_t comma = value.find(u',');
  v.Date = comma == TString::npos ? TString() : value.substr(0, comma);
  TString version = comma == TString::npos ? value.substr(0, kVersionChars) : value.substr(comma + 1, kVersionChars);
  for (const TString& c : SplitDelimited(text::Trim(version), u'.')) {
    std::int32_t n = 0;
    v.Components.push_back(text::TryParseInt(c, n) ? n : 0);
  }
  return v;
}

bool DriverVerDay(const TString& date, std::int64_t& days) {
  TStringList parts = SplitDelimited(date, u'/');
  std::int32_t m = 0, d = 0, y = 0;
  if (parts.size() < 3 || !text::TryParseInt(parts[0], m) || !text::TryParseInt(parts[1], d) ||
      !text::TryParseInt(parts[2], y))
    return false;
  static const int kMonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1 || d > kMonthDays[m - 1] + (m == 2 && leap)) return false;
  std::int64_t yy = m <= 2 ? y - 1 : y, mm = m <= 2 ? m + 9 : m - 3;
  days = 365 * yy + yy / 4 - yy / 100 + yy / 400 + (153 * mm + 2) / 5 + d - 1;
  return true;
}

namespace {

TDriverVer ReadDriverVer(const TString& infPath) {
  TProfileFile inf;
  inf.Open(infPath);
  return DriverVerOf(inf);
}

}  // namespace

std::int32_t InfCompareVersion(const TString& inf1Path, const TString& inf2Path) {
  if (!Fs().FileExists(inf1Path) || !Fs().FileExists(inf2Path)) return kInfMissing;
  TDriverVer a = ReadDriverVer(inf1Path), b = ReadDriverVer(inf2Path);
  size_t n = std::min(a.Components.size(), b.Components.size());
  // With nothing to compare, the package's side counts as newer.
  if (n == 0) return 1;
  for (size_t i = 0; i < n; ++i)
    if (a.Components[i] != b.Components[i]) return a.Components[i] > b.Components[i] ? 1 : -1;
  if (a.Components.size() != b.Components.size()) return a.Components.size() > b.Components.size() ? 1 : -1;

  std::int64_t d1 = 0, d2 = 0;
  if (!DriverVerDay(a.Date, d1) || !DriverVerDay(b.Date, d2))
    throw Exception(text::Format(SystemUiText(TUiText::DriverVerFormat), {a.Date, b.Date}));
  std::int64_t diff = d1 - d2;
  return diff > 1 ? 1 : diff >= -1 ? 0 : -1;
}
