#include "fakes/FakeSystem.h"
#include "sysutil/Text.h"

#include "fakes/FakeFileSystem.h"

bool FakeSystem::GetVersionExW(std::uint32_t size, std::uint32_t& major, std::uint32_t& minor) {
  LastVersionStructSize = size;
  if (size != 276 && size != 284) {
    m_LastError = 87;
    return false;
  }
  major = Major;
  minor = Minor;
  return true;
}

bool FakeSystem::IsWow64Process(bool& found, bool& wow64) {
  found = HasIsWow64Process;
  wow64 = found && Wow64;
  return found;
}

TString FakeSystem::SysErrorMessage(std::uint32_t code) {
  switch (code) {
    case 1300:
      return u"Not all privileges or groups referenced are assigned to the caller.";
    case 1313:
      return u"A specified privilege does not exist.";
    case 5:
      return u"Access is denied.";
    default:
      return u"System error " + text::IntToStr(code) + u".";
  }
}

std::string FakeSystem::WideToAnsi(TStringView s, bool* lossless) {
  if (Ansi == AnsiPage::Utf8) {
    if (lossless) *lossless = true;
    return text::ToUtf8(s);
  }
  std::string out;
  bool ok = true;
  for (char16_t c : s) {
    if (c > 0xFF) {
      ok = false;
      out.push_back('?');
    } else {
      out.push_back(static_cast<char>(c));
    }
  }
  if (lossless) *lossless = ok;
  return out;
}

TString FakeSystem::AnsiToWide(std::string_view s) {
  if (Ansi == AnsiPage::Utf8) return text::FromUtf8(s);
  TString out;
  for (char c : s) out.push_back(static_cast<unsigned char>(c));
  return out;
}

bool FakeSystem::GetTempPathLong(TString& path) {
  path = TempPath;
  return true;
}

std::uint32_t FakeSystem::GetTempFileNameW(const TString& dir, const TString& prefix, TString& out) {
  if (TempNameFails) {
    m_LastError = 5;
    return 0;
  }
  // Like the real service: the first unused number, and the name is reserved
  // by creating an empty file.
  auto* fs = FakeFileSystem::Current();
  for (;;) {
    std::uint32_t n = NextTempNumber++ & 0xFFFF;
    TString hex;
    const char* d = "0123456789ABCDEF";
    for (std::uint32_t v = n; v; v >>= 4) hex.insert(hex.begin(), static_cast<char16_t>(d[v & 15]));
    TString base = dir;
    if (!base.empty() && base.back() != u'\\') base += u'\\';
    TString name = base + prefix.substr(0, 3) + hex + u".tmp";
    if (fs && (fs->FileExists(name) || fs->DirectoryExists(name))) continue;
    if (fs) fs->WriteFile(name, "");
    out = name;
    return n;
  }
}

bool FakeSystem::OpenProcessToken(std::uint32_t access, THandle& token) {
  if (OpenTokenFails || access != 0x28) {
    m_LastError = 5;
    return false;
  }
  token = 0x7000 + static_cast<THandle>(++OpenTokens);
  m_LastError = 0;
  return true;
}

bool FakeSystem::LookupPrivilegeValueW(const TString& name, TLuid& luid) {
  if (!KnownPrivileges.count(name)) {
    m_LastError = 1313;
    return false;
  }
  luid.LowPart = static_cast<std::uint32_t>(std::hash<TString>{}(name)&0xFFFF) + 1;
  m_LuidNames[luid.LowPart] = name;
  return true;
}

bool FakeSystem::AdjustTokenPrivileges(THandle, const TLuid& luid, std::uint32_t attributes) {
  const TString& name = m_LuidNames[luid.LowPart];
  // Like the real call: success, but ERROR_NOT_ALL_ASSIGNED when the token
  // does not hold the privilege.
  if (!HeldPrivileges.count(name)) {
    m_LastError = 1300;
    return true;
  }
  Enabled[name] = attributes == 2;
  m_LastError = 0;
  return true;
}

bool FakeSystem::CloseHandle(THandle h) {
  if (h >= 0x7000 && h < 0x8000) --OpenTokens;
  return true;
}

bool FakeSystem::ExitWindowsEx(std::uint32_t flags, std::uint32_t) {
  ExitWindowsFlags = flags;
  if (!Enabled[u"SeShutdownPrivilege"]) {
    m_LastError = 1314;
    return false;
  }
  return ExitWindowsSucceeds;
}
