#include "pkgcheck/native/PosixPorts.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "sysutil/Paths.h"

namespace pkgcheck {

namespace {

bool IsDir(const std::string& p) {
  struct stat st;
  return !p.empty() && stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsFile(const std::string& p) {
  struct stat st;
  return !p.empty() && stat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The entry of `dir` whose name matches `name` without regard to letter case.
std::string MatchInFolder(const std::string& dir, const std::string& name) {
  struct stat st;
  const std::string exact = dir + "/" + name;
  if (lstat(exact.c_str(), &st) == 0) return exact;
  DIR* d = opendir(dir.empty() ? "/" : dir.c_str());
  if (!d) return exact;
  std::string found = exact;
  const TString wanted = text::FromUtf8(name);
  while (dirent* e = readdir(d))
    if (text::SameTextAscii(text::FromUtf8(e->d_name), wanted)) {
      found = dir + "/" + e->d_name;
      break;
    }
  closedir(d);
  return found;
}

}  // namespace

TString WindowsPathOf(const std::string& posixPath) {
  TString p = text::FromUtf8(posixPath);
  for (char16_t& c : p)
    if (c == u'/') c = u'\\';
  return u"Z:" + p;
}

std::string PosixPathOf(const TString& windowsPath) {
  const TString norm = paths::Normalize(windowsPath);
  if (norm.size() < 2 || text::UpperAscii(norm.substr(0, 2)) != u"Z:") return {};
  std::string out;
  size_t pos = 2;
  while (pos < norm.size()) {
    while (pos < norm.size() && norm[pos] == u'\\') ++pos;
    if (pos >= norm.size()) break;
    size_t end = norm.find(u'\\', pos);
    if (end == TString::npos) end = norm.size();
    out = MatchInFolder(out, text::ToUtf8(TStringView(norm).substr(pos, end - pos)));
    pos = end;
  }
  return out.empty() ? "/" : out;
}

bool TPosixFileSystem::FileExists(const TString& path) { return IsFile(PosixPathOf(path)); }
bool TPosixFileSystem::DirectoryExists(const TString& path) { return IsDir(PosixPathOf(path)); }

TString TPosixFileSystem::GetFullPathName(const TString& path) {
  if (path.empty()) return {};
  if (path.size() >= 2 && path[1] == u':') return paths::FullPath(path, u"Z:\\");
  if (path[0] == u'/' || path[0] == u'\\') return WindowsPathOf(text::ToUtf8(path));
  char cwd[4096];
  if (!getcwd(cwd, sizeof cwd)) return {};
  return paths::FullPath(path, WindowsPathOf(cwd));
}

bool TPosixFileSystem::ReadFile(const TString& path, std::string& bytes) {
  const std::string p = PosixPathOf(path);
  if (!IsFile(p)) return false;
  std::ifstream in(p, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  bytes = s.str();
  return true;
}

bool TPosixFileSystem::ListDirectory(const TString& path, std::vector<TDirEntry>& entries) {
  const std::string p = PosixPathOf(path);
  DIR* d = opendir(p.c_str());
  if (!d) return false;
  entries.clear();
  while (dirent* e = readdir(d)) {
    const std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    struct stat st;
    const std::string full = p + "/" + name;
    const bool link = lstat(full.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
    entries.push_back({text::FromUtf8(name), IsDir(full), link});
  }
  closedir(d);
  return true;
}

std::string TPosixSystem::WideToAnsi(TStringView s, bool* lossless) {
  std::string out;
  bool ok = true;
  for (char16_t c : s) {
    ok = ok && c <= 0xFF;
    out.push_back(c <= 0xFF ? static_cast<char>(c) : '?');
  }
  if (lossless) *lossless = ok;
  return out;
}

TString TPosixSystem::AnsiToWide(std::string_view s) {
  TString out;
  for (char c : s) out.push_back(static_cast<unsigned char>(c));
  return out;
}

TString TPosixSystem::GetCurrentDirectory() {
  char cwd[4096];
  return getcwd(cwd, sizeof cwd) ? WindowsPathOf(cwd) : TString();
}

bool TEmbeddedResources::LoadRCData(const TString& name, std::string& bytes) {
  const std::string wanted = text::ToUtf8(text::UpperAscii(name));
  for (size_t i = 0; i < m_Count; ++i)
    if (wanted == m_Table[i].Name) {
      bytes.assign(reinterpret_cast<const char*>(m_Table[i].Data), m_Table[i].Size);
      return true;
    }
  return false;
}

}  // namespace pkgcheck
