#include "fakes/FakeFileSystem.h"
#include "sysutil/Paths.h"
#include "sysutil/Text.h"

namespace {
FakeFileSystem* g_Current = nullptr;
}

FakeFileSystem::FakeFileSystem() {
  g_Current = this;
  AddDir(u"C:\\");
}
FakeFileSystem::~FakeFileSystem() {
  if (g_Current == this) g_Current = nullptr;
}
FakeFileSystem* FakeFileSystem::Current() { return g_Current; }

TString FakeFileSystem::Key(const TString& path) {
  TString k = text::UpperAscii(path);
  for (auto& c : k)
    if (c == u'/') c = u'\\';
  while (k.size() > 3 && k.back() == u'\\') k.pop_back();
  return k;
}

TString FakeFileSystem::Parent(const TString& key) {
  size_t p = key.rfind(u'\\');
  if (p == TString::npos || key.size() <= 3) return {};
  if (p == 2) return key.substr(0, 3);  // "C:\"
  return key.substr(0, p);
}

void FakeFileSystem::AddDir(const TString& path) {
  TString k = Key(path);
  if (k.empty()) return;
  TString parent = Parent(k);
  if (!parent.empty() && !m_Nodes.count(parent)) AddDir(parent);
  Node& n = m_Nodes[k];
  n.Path = path;
  n.IsDirectory = true;
}

void FakeFileSystem::AddFile(const TString& path, const std::string& bytes) {
  TString k = Key(path);
  TString parent = Parent(k);
  if (!parent.empty() && !m_Nodes.count(parent)) AddDir(parent);
  Node& n = m_Nodes[k];
  n.Path = path;
  n.IsDirectory = false;
  n.Bytes = bytes;
}

void FakeFileSystem::AddLink(const TString& path) {
  AddDir(path);
  m_Nodes[Key(path)].IsReparsePoint = true;
}

std::string FakeFileSystem::Contents(const TString& path) const {
  auto it = m_Nodes.find(Key(path));
  return it == m_Nodes.end() ? std::string() : it->second.Bytes;
}

bool FakeFileSystem::IsLocked(const TString& path) const {
  for (const auto& [h, p] : m_Locks)
    if (p == Key(path)) return true;
  return false;
}

size_t FakeFileSystem::CountUnder(const TString& path) const {
  TString k = Key(path) + u"\\";
  size_t n = 0;
  for (const auto& [key, node] : m_Nodes)
    if (key.rfind(k, 0) == 0) ++n;
  return n;
}

void FakeFileSystem::Change(const char* change, const TString& path) {
  if (!Off && CutBefore && CutBefore(change, path)) Off = true;
  if (Off) throw PowerCut{};
}

bool FakeFileSystem::FileExists(const TString& path) {
  auto it = m_Nodes.find(Key(path));
  return it != m_Nodes.end() && !it->second.IsDirectory;
}

bool FakeFileSystem::DirectoryExists(const TString& path) {
  auto it = m_Nodes.find(Key(path));
  return it != m_Nodes.end() && it->second.IsDirectory;
}

bool FakeFileSystem::CreateDirectory(const TString& path) {
  Change("mkdir", path);
  TString k = Key(path);
  if (m_Nodes.count(k)) return false;
  TString parent = Parent(k);
  if (parent.empty() || !DirectoryExists(parent)) return false;
  AddDir(path);
  return true;
}

TString FakeFileSystem::GetFullPathName(const TString& path) {
  return path.empty() ? TString() : paths::FullPath(path, CurrentDir);
}

bool FakeFileSystem::ReadFile(const TString& path, std::string& bytes) {
  auto it = m_Nodes.find(Key(path));
  if (it == m_Nodes.end() || it->second.IsDirectory) return false;
  bytes = it->second.Bytes;
  return true;
}

bool FakeFileSystem::WriteFile(const TString& path, const std::string& bytes) {
  Change("write", path);
  TString k = Key(path);
  if (!DirectoryExists(Parent(k)) || DirectoryExists(k) || IsLocked(path)) return false;
  auto it = m_Nodes.find(k);
  if (it != m_Nodes.end() && it->second.ReadOnly) return false;
  AddFile(path, bytes);
  return true;
}

bool FakeFileSystem::WriteFileLocked(const TString& path, const std::string& bytes, THandle& lock) {
  if (!WriteFile(path, bytes)) return false;
  lock = m_NextLock++;
  m_Locks[lock] = Key(path);
  return true;
}

void FakeFileSystem::CloseLocked(THandle lock) { m_Locks.erase(lock); }

bool FakeFileSystem::ListDirectory(const TString& path, std::vector<TDirEntry>& entries) {
  TString k = Key(path);
  if (!DirectoryExists(k)) return false;
  entries.clear();
  for (const auto& [key, node] : m_Nodes) {
    if (key != k && Parent(key) == k) {
      TString name = node.Path.substr(node.Path.find_last_of(u"\\/") + 1);
      entries.push_back(TDirEntry{name, node.IsDirectory, node.IsReparsePoint});
    }
  }
  return true;
}

bool FakeFileSystem::SetAttributesNormal(const TString& path) {
  auto it = m_Nodes.find(Key(path));
  if (it == m_Nodes.end()) return false;
  it->second.ReadOnly = false;
  return true;
}

bool FakeFileSystem::DeleteFile(const TString& path) {
  Change("delete", path);
  TString k = Key(path);
  auto it = m_Nodes.find(k);
  if (it == m_Nodes.end() || it->second.IsDirectory || it->second.ReadOnly || IsLocked(path) || Undeletable.count(k))
    return false;
  m_Nodes.erase(it);
  return true;
}

bool FakeFileSystem::RemoveDirectory(const TString& path) {
  Change("rmdir", path);
  TString k = Key(path);
  auto it = m_Nodes.find(k);
  if (it == m_Nodes.end() || !it->second.IsDirectory || Undeletable.count(k)) return false;
  if (it->second.IsReparsePoint) {
    // Removing a link removes only the link; what it points to stays. The
    // fake keeps the link's own children (they stand for the target).
    TString prefix = k + u"\\";
    for (auto n = m_Nodes.begin(); n != m_Nodes.end();)
      n = n->first.rfind(prefix, 0) == 0 ? m_Nodes.erase(n) : std::next(n);
    m_Nodes.erase(k);
    return true;
  }
  TString prefix = k + u"\\";
  for (const auto& [key, node] : m_Nodes)
    if (key.rfind(prefix, 0) == 0) return false;
  m_Nodes.erase(it);
  return true;
}

bool FakeFileSystem::CopyFile(const TString& from, const TString& to) {
  Change("copy", to);
  if (CopyFailsAfter == 0) return false;
  if (CopyFailsAfter > 0) --CopyFailsAfter;
  std::string bytes;
  return ReadFile(from, bytes) && WriteFile(to, bytes);
}

// Written as UTF-8 lines; the key replaced in place or added at the end of its
// section, the section added at the end of the file.
bool FakeFileSystem::WriteProfileString(const TString& file, const TString& section, const TString& key,
                                        const TString& value) {
  std::string bytes;
  if (FileExists(file) && !ReadFile(file, bytes)) return false;
  std::vector<TString> lines;
  TString all = text::FromUtf8(bytes);
  for (size_t i = 0; i <= all.size();) {
    size_t end = all.find(u'\n', i);
    if (end == TString::npos) end = all.size();
    TString line = all.substr(i, end - i);
    if (!line.empty() && line.back() == u'\r') line.pop_back();
    if (!(end == all.size() && line.empty())) lines.push_back(line);
    i = end + 1;
  }
  const TString entry = key + u"=" + value;
  bool inSection = false, replaced = false;
  size_t insertAt = TString::npos;
  for (size_t i = 0; i < lines.size() && !replaced; ++i) {
    TString t = text::Trim(lines[i]);
    if (!t.empty() && t[0] == u'[') {
      if (inSection) break;
      inSection = text::SameTextAscii(t, u"[" + section + u"]");
      if (inSection) insertAt = i + 1;
      continue;
    }
    if (!inSection) continue;
    size_t eq = t.find(u'=');
    if (eq != TString::npos && text::SameTextAscii(text::Trim(t.substr(0, eq)), key)) {
      lines[i] = entry;
      replaced = true;
      continue;
    }
    insertAt = i + 1;
  }
  if (replaced) {
  } else if (insertAt == TString::npos) {
    lines.push_back(u"[" + section + u"]");
    lines.push_back(entry);
  } else {
    lines.insert(lines.begin() + insertAt, entry);
  }
  TString out;
  for (const auto& l : lines) out += l + u"\r\n";
  return WriteFile(file, text::ToUtf8(out));
}

bool FakeFileSystem::MoveFile(const TString& from, const TString& to) {
  Change("move", from);
  TString f = Key(from), t = Key(to);
  if (!m_Nodes.count(f) || m_Nodes.count(t) || !DirectoryExists(Parent(t))) return false;
  for (const auto& [k, _] : m_Locks)
    if (_ == f || _.starts_with(f + u"\\")) return false;
  std::map<TString, Node> moved;
  for (auto it = m_Nodes.begin(); it != m_Nodes.end();) {
    if (it->first == f || it->first.starts_with(f + u"\\")) {
      Node n = it->second;
      TString rest = it->first.substr(f.size());
      n.Path = to + n.Path.substr(n.Path.size() - rest.size());
      moved[t + rest] = n;
      it = m_Nodes.erase(it);
    } else {
      ++it;
    }
  }
  m_Nodes.insert(moved.begin(), moved.end());
  return true;
}
