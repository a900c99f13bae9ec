// HKEY_LOCAL_MACHINE of the fake machine: keys by path (letter case of a..z
// ignored), string and number values, and the 32-bit view's redirection of
// SOFTWARE to SOFTWARE\Wow6432Node on a 64-bit machine.
#pragma once

#include <map>
#include <set>

#include "platform/IRegistry.h"

class FakeRegistry : public IRegistry {
 public:
  // The program is 32-bit on 64-bit Windows: its own view is the 32-bit one.
  bool Wow64Process = false;
  // Keys (by their real path, as given) that refuse to be deleted.
  std::set<TString> Protected;
  // Keys (real paths) that the system refuses to create, as it refuses
  // writes below Enum to ordinary accounts; an existing one still opens.
  std::set<TString> Uncreatable;

  // --- Arranging and reading the machine's state (real paths, no redirection) ---
  void SetText(const TString& keyPath, const TString& name, const TString& value);
  void SetNumber(const TString& keyPath, const TString& name, std::uint32_t value);
  void AddKey(const TString& keyPath) { Make(keyPath); }
  bool KeyExists(const TString& keyPath) const;
  const TRegValue* Value(const TString& keyPath, const TString& name) const;
  std::vector<TRegValue> Values(const TString& keyPath) const;
  int OpenKeys() const { return static_cast<int>(m_Handles.size()); }

  // --- IRegistry ---
  bool OpenKey(const TString& path, bool write, TRegView view, THandle& key) override;
  bool CreateKey(const TString& path, TRegView view, THandle& key) override;
  void CloseKey(THandle key) override;
  bool ReadNumber(THandle key, const TString& name, std::uint32_t& value) override;
  bool ReadText(THandle key, const TString& name, TString& value) override;
  bool ListSubKeys(THandle key, std::vector<TString>& names) override;
  bool ListValues(THandle key, std::vector<TRegValue>& values) override;
  bool WriteText(THandle key, const TString& name, const TString& value) override;
  bool DeleteValue(THandle key, const TString& name) override;
  bool DeleteTree(THandle key, const TString& name) override;

 private:
  struct Key {
    TString Path;                         // as first created
    std::map<TString, TRegValue> Values;  // by folded name
  };
  TString Redirect(const TString& path, TRegView view) const;
  Key& Make(const TString& path);
  Key* KeyOf(THandle h);

  std::map<TString, Key> m_Keys;  // by folded, normalized path
  std::map<THandle, TString> m_Handles;
  THandle m_Next = 0x500;
};
