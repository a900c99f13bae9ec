// The registry below HKEY_LOCAL_MACHINE. Paths are relative to it, with or
// without a leading backslash. A 32-bit program on 64-bit Windows sees
// SOFTWARE through the 32-bit view (SOFTWARE\Wow6432Node) unless it asks for
// the 64-bit one.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Owned.h"
#include "platform/Port.h"

enum class TRegView {
  Default,  // the program's own view
  Key64,    // KEY_WOW64_64KEY
  Key32,    // KEY_WOW64_32KEY
};

struct TRegValue {
  TString Name;
  std::uint32_t Type = 0;    // REG_SZ = 1, REG_EXPAND_SZ = 2, REG_DWORD = 4, ...
  TString Text;              // the data of a string value
  std::uint32_t Number = 0;  // the data of a DWORD value
};

class IRegistry {
 public:
  virtual ~IRegistry() = default;
  static constexpr std::uint32_t kRegSz = 1;
  static constexpr std::uint32_t kRegExpandSz = 2;
  static constexpr std::uint32_t kRegDword = 4;

  // RegOpenKeyExW for reading (KEY_READ) or reading and writing.
  virtual bool OpenKey(const TString& path, bool write, TRegView view, THandle& key) = 0;
  // RegCreateKeyExW: opens the key for reading and writing, created with its
  // missing parents.
  virtual bool CreateKey(const TString& path, TRegView view, THandle& key) = 0;
  virtual void CloseKey(THandle key) = 0;

  // False when the value is missing or of another type.
  virtual bool ReadNumber(THandle key, const TString& name, std::uint32_t& value) = 0;
  virtual bool ReadText(THandle key, const TString& name, TString& value) = 0;
  virtual bool ListSubKeys(THandle key, std::vector<TString>& names) = 0;
  virtual bool ListValues(THandle key, std::vector<TRegValue>& values) = 0;

  virtual bool WriteText(THandle key, const TString& name, const TString& value) = 0;
  virtual bool DeleteValue(THandle key, const TString& name) = 0;
  // Deletes the subkey `name` of `key` with everything below it.
  virtual bool DeleteTree(THandle key, const TString& name) = 0;
};

inline IRegistry& Reg() { return PortSlot<IRegistry>::Get(); }

struct RegKeyTraits : TPortHandleTraits {
  static void Close(THandle h) { Reg().CloseKey(h); }
};

// A key that is closed on every way out.
class TRegKey : public TOwned<RegKeyTraits> {
 public:
  bool Open(const TString& path, bool write = false, TRegView view = TRegView::Default) {
    return Reg().OpenKey(path, write, view, Receive());
  }
  bool Create(const TString& path, TRegView view = TRegView::Default) { return Reg().CreateKey(path, view, Receive()); }
  void Close() { Reset(); }
};
