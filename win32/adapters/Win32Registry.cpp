// The registry port over advapi32, below HKEY_LOCAL_MACHINE.
#include "win32/WinApi.h"

#include "platform/IRegistry.h"
#include "win32/adapters/WinText.h"

#include <cstring>
#include <vector>

namespace {

REGSAM ViewFlag(TRegView view) {
  switch (view) {
    case TRegView::Key64:
      return KEY_WOW64_64KEY;
    case TRegView::Key32:
      return KEY_WOW64_32KEY;
    case TRegView::Default:
      break;
  }
  return 0;
}

// The API takes paths without a leading backslash.
const wchar_t* Relative(const TString& path) {
  const wchar_t* p = W(path);
  while (*p == L'\\') ++p;
  return p;
}

HKEY K(THandle h) { return reinterpret_cast<HKEY>(h); }

class Win32Registry : public IRegistry {
 public:
  bool OpenKey(const TString& path, bool write, TRegView view, THandle& key) override {
    HKEY h = nullptr;
    REGSAM access = (write ? KEY_READ | KEY_WRITE : KEY_READ) | ViewFlag(view);
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, Relative(path), 0, access, &h) != ERROR_SUCCESS) return false;
    key = reinterpret_cast<THandle>(h);
    return true;
  }
  bool CreateKey(const TString& path, TRegView view, THandle& key) override {
    HKEY h = nullptr;
    if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, Relative(path), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_READ | KEY_WRITE | ViewFlag(view), nullptr, &h, nullptr) != ERROR_SUCCESS)
      return false;
    key = reinterpret_cast<THandle>(h);
    return true;
  }
  void CloseKey(THandle key) override { ::RegCloseKey(K(key)); }

  bool ReadNumber(THandle key, const TString& name, std::uint32_t& value) override {
    DWORD type = 0, data = 0, size = sizeof(data);
    if (::RegQueryValueExW(K(key), W(name), nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(data))
      return false;
    value = data;
    return true;
  }
  bool ReadText(THandle key, const TString& name, TString& value) override {
    std::uint32_t type = 0;
    std::vector<BYTE> data;
    if (!Query(key, W(name), type, data) || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
    value = Text(data);
    return true;
  }
  bool ListSubKeys(THandle key, std::vector<TString>& names) override {
    names.clear();
    wchar_t buf[256];
    for (DWORD i = 0;; ++i) {
      DWORD n = 256;
      LONG r = ::RegEnumKeyExW(K(key), i, buf, &n, nullptr, nullptr, nullptr, nullptr);
      if (r == ERROR_NO_MORE_ITEMS) return true;
      if (r != ERROR_SUCCESS) return false;
      names.push_back(T(buf, n));
    }
  }
  bool ListValues(THandle key, std::vector<TRegValue>& values) override {
    values.clear();
    DWORD maxName = 0;
    if (::RegQueryInfoKeyW(K(key), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxName, nullptr,
                           nullptr, nullptr) != ERROR_SUCCESS)
      return false;
    std::vector<wchar_t> name(maxName + 1);
    for (DWORD i = 0;; ++i) {
      DWORD n = maxName + 1, type = 0;
      LONG r = ::RegEnumValueW(K(key), i, name.data(), &n, nullptr, &type, nullptr, nullptr);
      if (r == ERROR_NO_MORE_ITEMS) return true;
      if (r != ERROR_SUCCESS) return false;
      TRegValue v;
      v.Name = T(name.data(), n);
      std::vector<BYTE> data;
      if (!Query(key, name.data(), v.Type, data)) continue;
      if (v.Type == REG_SZ || v.Type == REG_EXPAND_SZ) v.Text = Text(data);
      if (v.Type == REG_DWORD && data.size() == sizeof(DWORD)) std::memcpy(&v.Number, data.data(), sizeof(DWORD));
      values.push_back(std::move(v));
    }
  }
  bool WriteText(THandle key, const TString& name, const TString& value) override {
    return ::RegSetValueExW(K(key), W(name), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(char16_t))) == ERROR_SUCCESS;
  }
  bool DeleteValue(THandle key, const TString& name) override {
    return ::RegDeleteValueW(K(key), W(name)) == ERROR_SUCCESS;
  }
  bool DeleteTree(THandle key, const TString& name) override {
    // RegDeleteTreeW with a subkey deletes that key too; an empty name would
    // empty `key` itself.
    if (name.empty()) return false;
    return ::RegDeleteTreeW(K(key), W(name)) == ERROR_SUCCESS;
  }

 private:
  static bool Query(THandle key, const wchar_t* name, std::uint32_t& type, std::vector<BYTE>& data) {
    DWORD t = 0, size = 0;
    for (int attempt = 0; attempt < 4; ++attempt) {
      LONG r = ::RegQueryValueExW(K(key), name, nullptr, &t, data.empty() ? nullptr : data.data(), &size);
      if (r == ERROR_SUCCESS && (!data.empty() || size == 0)) {
        data.resize(size);
        type = t;
        return true;
      }
      if (r != ERROR_SUCCESS && r != ERROR_MORE_DATA) return false;
      data.resize(size + sizeof(wchar_t));
    }
    return false;
  }
  // A string value's data, without the terminating NUL(s) it may or may not carry.
  static TString Text(const std::vector<BYTE>& data) {
    TString s(data.size() / sizeof(char16_t), u'\0');
    std::memcpy(s.data(), data.data(), s.size() * sizeof(char16_t));
    while (!s.empty() && s.back() == u'\0') s.pop_back();
    return s;
  }
};

}  // namespace

IRegistry& Win32RegistryInstance() {
  static Win32Registry instance;
  return instance;
}
