// Test equipment: a stand-in for newdev.dll in the Wine test prefix. Wine's
// UpdateDriverForPlugAndPlayDevices succeeds for any hardware ID; this one
// answers as Windows does for the calls the device-install library makes:
// the INF must exist, and some present device must carry the hardware ID as
// one of its hardware or compatible IDs (every node Wine knows counts as
// present), else ERROR_NO_SUCH_DEVINST. It installs nothing, unless a test
// asks it to act as the printer class installer as well. The last call's
// arguments and the program that made it are left in
// HKCU\Software\DriverSetupTests\newdev for the tests; with "HoldMs" set
// there it leaves its process ID as "HeldBy" and answers that much later.
#include "win32/WinApi.h"
// <windows.h> first.
#include <setupapi.h>
#include <winspool.h>

#include <string>
#include <vector>

namespace {

bool HasId(HDEVINFO set, SP_DEVINFO_DATA& device, DWORD property, const wchar_t* wanted) {
  std::vector<BYTE> buffer(1024);
  DWORD required = 0;
  while (!SetupDiGetDeviceRegistryPropertyW(set, &device, property, nullptr, buffer.data(),
                                            static_cast<DWORD>(buffer.size()), &required)) {
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || required <= buffer.size()) return false;
    buffer.resize(required);
  }
  buffer.resize(buffer.size() + 4, 0);
  for (const wchar_t* p = reinterpret_cast<const wchar_t*>(buffer.data()); *p; p += lstrlenW(p) + 1)
    if (lstrcmpiW(p, wanted) == 0) return true;
  return false;
}

bool PresentDeviceHas(const wchar_t* hardwareId, std::wstring* instanceId = nullptr) {
  HDEVINFO set = SetupDiGetClassDevsW(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES | DIGCF_PRESENT);
  if (set == INVALID_HANDLE_VALUE) return false;
  bool found = false;
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof device;
  for (DWORD i = 0; !found && SetupDiEnumDeviceInfo(set, i, &device); ++i)
    found = HasId(set, device, SPDRP_HARDWAREID, hardwareId) || HasId(set, device, SPDRP_COMPATIBLEIDS, hardwareId);
  wchar_t id[512] = {};
  if (found && instanceId && SetupDiGetDeviceInstanceIdW(set, &device, id, 512, nullptr)) *instanceId = id;
  SetupDiDestroyDeviceInfoList(set);
  return found;
}

void Record(const wchar_t* hardwareId, const wchar_t* infPath, DWORD flags) {
  HKEY key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\DriverSetupTests\\newdev", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      &key, nullptr) != ERROR_SUCCESS)
    return;
  auto put = [&](const wchar_t* name, const wchar_t* value) {
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                   static_cast<DWORD>((lstrlenW(value) + 1) * sizeof(wchar_t)));
  };
  put(L"HardwareId", hardwareId ? hardwareId : L"");
  put(L"InfPath", infPath ? infPath : L"");
  wchar_t caller[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, caller, MAX_PATH);
  put(L"Caller", caller);
  RegSetValueExW(key, L"Flags", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&flags), sizeof flags);
  RegCloseKey(key);
}

DWORD TestSetting(const wchar_t* name) {
  DWORD value = 0, size = sizeof value;
  RegGetValueW(HKEY_CURRENT_USER, L"Software\\DriverSetupTests\\newdev", name, RRF_RT_REG_DWORD, nullptr, &value,
               &size);
  return value;
}

// The model of the INF that lists the hardware ID.
std::wstring ModelFor(const wchar_t* infPath, const wchar_t* hardwareId) {
  HINF inf = SetupOpenInfFileW(infPath, nullptr, INF_STYLE_WIN4, nullptr);
  if (inf == INVALID_HANDLE_VALUE) return {};
  auto field = [](INFCONTEXT& c, DWORD i) {
    wchar_t b[512] = {};
    return SetupGetStringFieldW(&c, i, b, 512, nullptr) ? std::wstring(b) : std::wstring();
  };
  std::wstring model;
  INFCONTEXT mfg;
  for (bool m = SetupFindFirstLineW(inf, L"Manufacturer", nullptr, &mfg); m && model.empty();
       m = SetupFindNextLine(&mfg, &mfg)) {
    std::vector<std::wstring> sections{field(mfg, 1)};
    for (DWORD i = 2; i <= SetupGetFieldCount(&mfg); ++i) sections.push_back(sections[0] + L"." + field(mfg, i));
    for (const auto& section : sections) {
      INFCONTEXT line;
      for (bool l = SetupFindFirstLineW(inf, section.c_str(), nullptr, &line); l && model.empty();
           l = SetupFindNextLine(&line, &line))
        for (DWORD i = 2; i <= SetupGetFieldCount(&line); ++i)
          if (lstrcmpiW(field(line, i).c_str(), hardwareId) == 0) model = field(line, 0);
    }
  }
  SetupCloseInfFile(inf);
  return model;
}

// What Windows' printer class installer does once the driver is chosen: a
// queue of the model on the device's port, through the print UI.
void AddQueueForDevice(const std::wstring& instanceId, const wchar_t* infPath, const wchar_t* hardwareId) {
  const std::wstring port = instanceId.substr(instanceId.find_last_of(L'&') + 1);
  const std::wstring model = ModelFor(infPath, hardwareId);
  if (model.empty() || port.empty()) return;
  HANDLE xcv = nullptr;
  PRINTER_DEFAULTSW admin{nullptr, nullptr, SERVER_ACCESS_ADMINISTER};
  if (OpenPrinterW(const_cast<wchar_t*>(L",XcvMonitor Local Port"), &xcv, &admin)) {
    DWORD out = 0, status = 0;
    XcvDataW(xcv, L"AddPort", reinterpret_cast<BYTE*>(const_cast<wchar_t*>(port.c_str())),
             static_cast<DWORD>((port.size() + 1) * sizeof(wchar_t)), nullptr, 0, &out, &status);
    ClosePrinter(xcv);
  }
  using PrintUIEntryFn = void(WINAPI*)(HWND, HINSTANCE, LPCWSTR, int);
  HMODULE printui = LoadLibraryW(L"printui.dll");
  auto entry =
      printui ? reinterpret_cast<PrintUIEntryFn>(reinterpret_cast<void (*)()>(GetProcAddress(printui, "PrintUIEntryW")))
              : nullptr;
  const std::wstring command =
      L"/if /b \"" + model + L"\" /f \"" + infPath + L"\" /r \"" + port + L"\" /m \"" + model + L"\" /q";
  if (entry) entry(nullptr, nullptr, command.c_str(), 0);
  if (printui) FreeLibrary(printui);
}

std::wstring FromAnsi(const char* s) {
  if (!s) return {};
  int n = MultiByteToWideChar(CP_ACP, 0, s, -1, nullptr, 0);
  std::wstring out(n > 0 ? n - 1 : 0, L'\0');
  if (n > 1) MultiByteToWideChar(CP_ACP, 0, s, -1, out.data(), n);
  return out;
}

}  // namespace

extern "C" __declspec(dllexport) BOOL WINAPI
    UpdateDriverForPlugAndPlayDevicesW(HWND, LPCWSTR hardwareId, LPCWSTR infPath, DWORD flags, PBOOL reboot) {
  Record(hardwareId, infPath, flags);
  if (const DWORD hold = TestSetting(L"HoldMs")) {
    const DWORD self = GetCurrentProcessId();
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\DriverSetupTests\\newdev", L"HeldBy", REG_DWORD, &self, sizeof self);
    Sleep(hold);
  }
  if (reboot) *reboot = FALSE;
  if (!hardwareId || !infPath || !*hardwareId) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (flags & ~DWORD{0x7}) {  // INSTALLFLAG_FORCE | _READONLY | _NONINTERACTIVE
    SetLastError(ERROR_INVALID_FLAGS);
    return FALSE;
  }
  DWORD attributes = GetFileAttributesW(infPath);
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  std::wstring instanceId;
  if (!PresentDeviceHas(hardwareId, &instanceId)) {
    SetLastError(ERROR_NO_SUCH_DEVINST);
    return FALSE;
  }
  // Only the tests that ask for it get a queue; the others see nothing installed.
  if (TestSetting(L"ClassInstaller")) AddQueueForDevice(instanceId, infPath, hardwareId);
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}

extern "C" __declspec(dllexport) BOOL WINAPI
    UpdateDriverForPlugAndPlayDevicesA(HWND owner, LPCSTR hardwareId, LPCSTR infPath, DWORD flags, PBOOL reboot) {
  const std::wstring id = FromAnsi(hardwareId), inf = FromAnsi(infPath);
  return UpdateDriverForPlugAndPlayDevicesW(owner, hardwareId ? id.c_str() : nullptr, infPath ? inf.c_str() : nullptr,
                                            flags, reboot);
}
