#include "win32/adapters/Win32Ports.h"

#include <shellapi.h>
#include <shlobj.h>

#include "platform/IFileSystem.h"
#include "platform/IModules.h"
#include "platform/IProcess.h"
#include "platform/IRecord.h"
#include "platform/IRegistry.h"
#include "platform/IResources.h"
#include "platform/IShell.h"
#include "platform/ISystem.h"
#include "platform/IThreads.h"
#include "win32/SystemLibrary.h"
#include "win32/adapters/WinText.h"

ISystem& Win32SystemInstance();
IFileSystem& Win32FileSystemInstance();
IProcess& Win32ProcessInstance();
IRegistry& Win32RegistryInstance();
IModules& Win32ModulesInstance();
IThreads& Win32ThreadsInstance();

namespace {

class Win32Resources : public IResources {
 public:
  explicit Win32Resources(HMODULE m) : m_Module(m) {}
  bool LoadRCData(const TString& name, std::string& bytes) override {
    HRSRC r = ::FindResourceW(m_Module, W(name), MAKEINTRESOURCEW(10));
    if (!r) return false;
    HGLOBAL g = ::LoadResource(m_Module, r);
    DWORD size = ::SizeofResource(m_Module, r);
    const void* p = g ? ::LockResource(g) : nullptr;
    if (!p) return false;
    bytes.assign(static_cast<const char*>(p), size);
    return true;
  }

 private:
  HMODULE m_Module;
};

// The shell library, loaded from the system folder when first needed and
// kept for the program's life: it brings the component object libraries
// with it, which the program's start does not need. An entry the library
// lacks stays null.
struct ShellApi {
  decltype(&::ShellExecuteW) ShellExecuteW = nullptr;
  decltype(&::SHGetSpecialFolderPathW) SHGetSpecialFolderPathW = nullptr;
  decltype(&::SHFileOperationW) SHFileOperationW = nullptr;
};

const ShellApi& Shell32() {
  static const ShellApi api = [] {
    ShellApi a;
    HMODULE m = win::LoadSystemLibrary(L"shell32.dll");
    a.ShellExecuteW = win::Proc<decltype(a.ShellExecuteW)>(m, "ShellExecuteW");
    a.SHGetSpecialFolderPathW = win::Proc<decltype(a.SHGetSpecialFolderPathW)>(m, "SHGetSpecialFolderPathW");
    a.SHFileOperationW = win::Proc<decltype(a.SHFileOperationW)>(m, "SHFileOperationW");
    return a;
  }();
  return api;
}

class Win32Shell : public IShell {
 public:
  void ShellOpen(THandle ownerWindow, const TString& file) override {
    if (Shell32().ShellExecuteW)
      Shell32().ShellExecuteW(reinterpret_cast<HWND>(ownerWindow), L"open", W(file), nullptr, nullptr, SW_SHOWNORMAL);
  }
  bool GetProgramFilesFolder(THandle ownerWindow, TString& path) override {
    wchar_t buf[MAX_PATH] = {};
    if (!Shell32().SHGetSpecialFolderPathW ||
        !Shell32().SHGetSpecialFolderPathW(reinterpret_cast<HWND>(ownerWindow), buf, CSIDL_PROGRAM_FILES, FALSE))
      return false;
    path = T(buf);
    return true;
  }
  int DeleteTree(THandle ownerWindow, const TString& folder) override {
    std::u16string from = folder;
    from.append(2, u'\0');  // a list of names, ended by an empty one
    SHFILEOPSTRUCTW op{};
    op.hwnd = reinterpret_cast<HWND>(ownerWindow);
    op.wFunc = FO_DELETE;
    op.pFrom = reinterpret_cast<const wchar_t*>(from.c_str());
    op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
    // No library: the error "cannot be done", as the call itself would say.
    return Shell32().SHFileOperationW ? Shell32().SHFileOperationW(&op) : ERROR_MOD_NOT_FOUND;
  }
};

}  // namespace

void InstallWin32Ports(HMODULE resourceModule) {
  static Win32Resources resources(resourceModule ? resourceModule : ::GetModuleHandleW(nullptr));
  static Win32Shell shell;
  PortSlot<ISystem>::Set(&Win32SystemInstance());
  PortSlot<IFileSystem>::Set(&Win32FileSystemInstance());
  PortSlot<IProcess>::Set(&Win32ProcessInstance());
  PortSlot<IResources>::Set(&resources);
  PortSlot<IShell>::Set(&shell);
  PortSlot<IRegistry>::Set(&Win32RegistryInstance());
  PortSlot<IModules>::Set(&Win32ModulesInstance());
  PortSlot<IThreads>::Set(&Win32ThreadsInstance());
  PortSlot<IRecordFile>::Set(&Win32RecordInstance());
}
