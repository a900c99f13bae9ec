#include "sysutil/Paths.h"

#include "platform/IFileSystem.h"

namespace paths {
namespace {
size_t LastDelimiter(TStringView p) { return p.find_last_of(u"\\/:"); }
}  // namespace

TString ExtractFilePath(TStringView path) {
  size_t i = LastDelimiter(path);
  return i == TStringView::npos ? TString() : TString(path.substr(0, i + 1));
}

TString ExtractFileDir(TStringView path) {
  size_t i = LastDelimiter(path);
  if (i == TStringView::npos) return {};
  // Keep the backslash of a drive root ("C:\") and of a bare root.
  if (i > 0 && (path[i] == u'\\' || path[i] == u'/') && path[i - 1] != u':' && !(i == 1 && path[0] == u'\\'))
    return TString(path.substr(0, i));
  return TString(path.substr(0, i + 1));
}

TString ExtractFileName(TStringView path) {
  size_t i = LastDelimiter(path);
  return TString(i == TStringView::npos ? path : path.substr(i + 1));
}

TString RemoveFileExt(TStringView path) {
  size_t dot = path.rfind(u'.');
  size_t delim = LastDelimiter(path);
  if (dot == TStringView::npos || (delim != TStringView::npos && dot < delim)) return TString(path);
  return TString(path.substr(0, dot));
}

TString IncludeTrailingBackslash(TStringView path) {
  TString r(path);
  if (r.empty() || r.back() != u'\\') r += u'\\';
  return r;
}

TString ExpandFileName(const TString& path) { return Fs().GetFullPathName(path); }

}  // namespace paths
