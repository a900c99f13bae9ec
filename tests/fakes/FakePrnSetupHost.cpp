#include "fakes/FakePrnSetupHost.h"

#include "sysutil/Paths.h"

#include <stdexcept>

#include "platform/Inst2kApi.h"

using namespace inst2k;

namespace {

FakePrnSetupHost* g_Active = nullptr;
FakeInst2kLibrary* g_Current = nullptr;

TString Key(const TString& s) { return text::UpperAscii(s); }

// The exports of a fake library: real functions of the export types.
FakeInst2kLibrary& Lib() { return *FakePrnSetupHost::Current(); }

void ShowErrorCodeFn(std::int32_t on) {
  Lib().Calls.push_back("ShowErrorCode");
  Lib().ShowErrorCodeArg = on;
}
std::uint32_t LastInstallErrorCodeFn() {
  Lib().Calls.push_back("LastInstallErrorCode");
  return Lib().LastError;
}
std::uint32_t IsInlineDeviceExistFn(void* owner, const char* hwid, const char* inf, std::uint32_t flags) {
  auto& l = Lib();
  l.Calls.push_back("Inst2k_IsInlineDeviceExist");
  l.Owner = owner;
  l.HardwareId = hwid;
  l.Inf = inf;
  l.Flags = flags;
  return l.TestResult;
}
std::int32_t InstallFn(const char* name, const char* inf, const char* hwid, const char* port, void* owner) {
  auto& l = Lib();
  l.Calls.push_back(name);
  l.Inf = inf;
  l.HardwareId = hwid;
  l.Port = port;
  l.Owner = owner;
  if (l.Throws) throw std::runtime_error("library failure");
  return l.InstallResult;
}
std::int32_t FuncInst2KFn(const char* inf, const char* hwid, const char* port, void* owner) {
  return InstallFn("FuncInst2K", inf, hwid, port, owner);
}
std::int32_t Inst2KFn(const char* inf, const char* hwid, const char* port, void* owner) {
  return InstallFn("Inst2K", inf, hwid, port, owner);
}
void OtherFn() { Lib().Calls.push_back("other"); }

}  // namespace

FakePrnSetupHost::FakePrnSetupHost() { g_Active = this; }
FakePrnSetupHost::~FakePrnSetupHost() {
  if (g_Active == this) g_Active = nullptr;
  g_Current = nullptr;
}

FakeInst2kLibrary* FakePrnSetupHost::Current() { return g_Current; }

FakeInst2kLibrary& FakePrnSetupHost::Library(const TString& fullPath) { return Libraries[Key(fullPath)]; }

void FakePrnSetupHost::SetProfile(const TString& file, const TString& section, const TString& key,
                                  const TString& value) {
  Profiles[Key(file)][Key(section)][Key(key)] = value;
}

bool FakePrnSetupHost::HasProfileValue(const TString& file, const TString& section, const TString& key) const {
  auto f = Profiles.find(Key(file));
  if (f == Profiles.end()) return false;
  auto s = f->second.find(Key(section));
  return s != f->second.end() && s->second.count(Key(key)) != 0;
}

TString FakePrnSetupHost::Profile(const TString& file, const TString& section, const TString& key) const {
  if (!HasProfileValue(file, section, key)) return {};
  return Profiles.at(Key(file)).at(Key(section)).at(Key(key));
}

TString FakePrnSetupHost::GetFullPathName(const TString& path) {
  return path.empty() ? TString() : paths::FullPath(path, CurrentDir);
}

THandle FakePrnSetupHost::LoadLibrary(const TString& path) {
  Events.push_back(u"load");
  auto it = Libraries.find(Key(path));
  if (it == Libraries.end()) {
    m_LastError = 126;  // ERROR_MOD_NOT_FOUND
    return 0;
  }
  THandle h = m_NextHandle++;
  m_Handles[h] = it->first;
  g_Current = &it->second;
  ++Loaded;
  return h;
}

void* FakePrnSetupHost::GetProcAddress(THandle module, const char* name) {
  auto h = m_Handles.find(module);
  if (h == m_Handles.end()) return nullptr;
  const FakeInst2kLibrary& lib = Libraries[h->second];
  const std::string n = name;
  if (!lib.Exports.count(n)) {
    m_LastError = 127;
    return nullptr;
  }
  if (n == "ShowErrorCode") return reinterpret_cast<void*>(&ShowErrorCodeFn);
  if (n == "LastInstallErrorCode") return reinterpret_cast<void*>(&LastInstallErrorCodeFn);
  if (n == "Inst2k_IsInlineDeviceExist") return reinterpret_cast<void*>(&IsInlineDeviceExistFn);
  if (n == "FuncInst2K") return reinterpret_cast<void*>(&FuncInst2KFn);
  if (n == "Inst2K") return reinterpret_cast<void*>(&Inst2KFn);
  return reinterpret_cast<void*>(&OtherFn);
}

void FakePrnSetupHost::FreeLibrary(THandle module) {
  if (!m_Handles.erase(module)) return;
  --Loaded;
  Events.push_back(u"free");
}

std::string FakePrnSetupHost::WideToAnsi(TStringView s, bool& lossless) {
  lossless = true;
  if (Ansi == AnsiPage::Utf8) return text::ToUtf8(s);
  std::string out;
  for (char16_t c : s) {
    if (c > 0xFF) {
      lossless = false;
      out.push_back('?');
    } else {
      out.push_back(static_cast<char>(c));
    }
  }
  return out;
}

std::int32_t FakePrnSetupHost::GetPrivateProfileInt(const TString& section, const TString& key, std::int32_t def,
                                                    const TString& file) {
  if (!HasProfileValue(file, section, key)) return def;
  // As the profile function reads it: a sign and leading decimal digits, 0 for none.
  const TString v = Profile(file, section, key);
  size_t i = 0;
  const bool negative = !v.empty() && v[0] == u'-';
  if (negative) ++i;
  std::int64_t n = 0;
  for (; i < v.size() && v[i] >= u'0' && v[i] <= u'9' && n < 0x7FFFFFFF; ++i) n = n * 10 + (v[i] - u'0');
  return static_cast<std::int32_t>(negative ? -n : n);
}

bool FakePrnSetupHost::WritePrivateProfileString(const TString& section, const TString& key, const TString& value,
                                                 const TString& file) {
  SetProfile(file, section, key, value);
  return true;
}

void FakePrnSetupHost::MessageBox(const TString& text, const TString& caption, std::uint32_t style) {
  Boxes.push_back({text, caption, style});
  Events.push_back(u"box");
}

void FakePrnSetupHost::SendWindowMessage(std::int32_t window, std::uint32_t message, std::uintptr_t wParam,
                                         std::intptr_t lParam) {
  Messages.push_back({window, message, wParam, lParam, Loaded});
  Events.push_back(u"send");
}
