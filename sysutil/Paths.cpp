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

TString ExpandFileName(const TString& path) {
  TString full = Fs().GetFullPathName(path);
  return full.empty() ? path : full;
}

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

TString DriveOf(TStringView path) {
  if (path.size() >= 2 && path[1] == u':') return TString(path.substr(0, 2));
  if (path.size() >= 2 && (path[0] == u'\\' || path[0] == u'/') && (path[1] == u'\\' || path[1] == u'/')) {
    size_t server = path.find_first_of(u"\\/", 2);
    if (server == TStringView::npos) return TString(path);
    size_t share = path.find_first_of(u"\\/", server + 1);
    return TString(path.substr(0, share));
  }
  return {};
}

bool SameDrive(TStringView a, TStringView b) {
  TString da = DriveOf(a), db = DriveOf(b);
  for (TString* d : {&da, &db})
    for (char16_t& c : *d)
      if (c == u'/') c = u'\\';
  return !da.empty() && text::SameTextAscii(da, db);
}

TString FullPath(TStringView path, TStringView currentDir) {
  TString cwd = IncludeTrailingBackslash(Normalize(currentDir));
  TString drive = DriveOf(cwd);
  TString p(path);
  bool sep0 = !p.empty() && (p[0] == u'\\' || p[0] == u'/');
  TString joined;
  if (p.size() >= 2 && p[1] == u':') {
    bool rooted = p.size() >= 3 && (p[2] == u'\\' || p[2] == u'/');
    if (rooted)
      joined = p;
    else if (text::SameTextAscii(p.substr(0, 2), drive))
      joined = cwd + p.substr(2);
    else
      joined = p.substr(0, 2) + u"\\" + p.substr(2);
  } else if (sep0 && p.size() >= 2 && (p[1] == u'\\' || p[1] == u'/')) {
    joined = p;
  } else if (sep0) {
    joined = drive + p;
  } else {
    joined = cwd + p;
  }
  TString root = DriveOf(joined);
  TString rest = joined.substr(root.size());
  // ".." stops at the root, as the platform does.
  std::vector<TString> segments;
  for (size_t i = 0; i <= rest.size();) {
    size_t end = rest.find_first_of(u"\\/", i);
    if (end == TString::npos) end = rest.size();
    TString seg = rest.substr(i, end - i);
    if (seg == u"..") {
      if (!segments.empty()) segments.pop_back();
    } else if (!seg.empty() && seg != u".") {
      segments.push_back(std::move(seg));
    }
    i = end + 1;
  }
  TString out = root + u"\\";
  for (size_t k = 0; k < segments.size(); ++k) out += (k ? u"\\" : u"") + segments[k];
  bool trailing = !joined.empty() && (joined.back() == u'\\' || joined.back() == u'/') && !segments.empty();
  if (trailing) out += u'\\';
  return out;
}

TString RelativePath(TStringView baseFolder, TStringView path) {
  if (!SameDrive(baseFolder, path)) return TString(path);
  TString base = Normalize(baseFolder), target = Normalize(path);
  size_t rootLen = DriveOf(base).size();
  auto split = [&](const TString& s) {
    std::vector<TString> parts;
    for (size_t i = rootLen; i <= s.size();) {
      size_t end = s.find(u'\\', i);
      if (end == TString::npos) end = s.size();
      if (end > i) parts.push_back(s.substr(i, end - i));
      i = end + 1;
    }
    return parts;
  };
  std::vector<TString> b = split(base), t = split(target);
  size_t common = 0;
  while (common < b.size() && common < t.size() && text::SameTextAscii(b[common], t[common])) ++common;
  TString out;
  for (size_t i = common; i < b.size(); ++i) out += u"..\\";
  for (size_t i = common; i < t.size(); ++i) out += (i > common ? u"\\" : u"") + t[i];
  return out;
}

bool IsPlainFileName(TStringView name) {
  if (name.empty() || name == u"." || name == u".." || name.back() == u'.' || name.back() == u' ') return false;
  for (char16_t c : name)
    if (c < 0x20 || TStringView(u"<>:\"/\\|?*").find(c) != TStringView::npos) return false;
  TString stem = text::UpperAscii(name.substr(0, name.find(u'.')));
  while (!stem.empty() && stem.back() == u' ') stem.pop_back();
  for (const char16_t* reserved : {u"CON", u"PRN", u"AUX", u"NUL", u"CONIN$", u"CONOUT$"})
    if (stem == reserved) return false;
  if (stem.size() == 4 && (stem.starts_with(u"COM") || stem.starts_with(u"LPT")) && stem[3] >= u'1' && stem[3] <= u'9')
    return false;
  return true;
}

}  // namespace paths
