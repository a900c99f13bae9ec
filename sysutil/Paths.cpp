#include "sysutil/Paths.h"

#include "platform/IFileSystem.h"

#include <vector>

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

TString Normalize(TStringView path) {
  TString p(path);
  for (char16_t& c : p)
    if (c == u'/') c = u'\\';
  // The part that ".." never climbs over: "\\server\share", "C:" or a lone "\".
  size_t rootEnd = 0;
  if (p.starts_with(u"\\\\")) {
    size_t server = p.find(u'\\', 2);
    size_t share = server == TString::npos ? TString::npos : p.find(u'\\', server + 1);
    rootEnd = share == TString::npos ? p.size() : share;
  } else if (p.size() >= 2 && p[1] == u':') {
    rootEnd = 2;
  }
  TString out = p.substr(0, rootEnd);
  std::vector<TString> segments;
  bool absolute = rootEnd < p.size() && p[rootEnd] == u'\\';
  size_t i = rootEnd;
  while (i < p.size()) {
    size_t end = p.find(u'\\', i);
    if (end == TString::npos) end = p.size();
    TString seg = p.substr(i, end - i);
    if (seg == u"..") {
      if (segments.empty()) return {};
      segments.pop_back();
    } else if (!seg.empty() && seg != u".") {
      segments.push_back(std::move(seg));
    }
    i = end + 1;
  }
  if (absolute) out += u'\\';
  for (size_t k = 0; k < segments.size(); ++k) out += (k ? u"\\" : u"") + segments[k];
  return out;
}

bool IsBelow(TStringView path, TStringView folder) {
  TString p = Normalize(path), f = Normalize(folder);
  if (p.empty() || f.empty()) return false;
  f = IncludeTrailingBackslash(f);
  return text::StartsWithTextAscii(IncludeTrailingBackslash(p), f);
}

}  // namespace paths
