// Test equipment: a stand-in for newdev.dll in the Wine test prefix. Wine's
// UpdateDriverForPlugAndPlayDevices succeeds for any hardware ID; this one
// answers as Windows does for the calls the device-install library makes:
// the INF must exist, and some present device must carry the hardware ID as
// one of its hardware or compatible IDs (every node Wine knows counts as
// present), else ERROR_NO_SUCH_DEVINST. It installs nothing. The last call's
// arguments are left in HKCU\Software\DriverSetupTests\newdev for the tests.
#include "win32/WinApi.h"
// <windows.h> first.
#include <setupapi.h>

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

bool PresentDeviceHas(const wchar_t* hardwareId) {
  HDEVINFO set = SetupDiGetClassDevsW(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES | DIGCF_PRESENT);
  if (set == INVALID_HANDLE_VALUE) return false;
  bool found = false;
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof device;
  for (DWORD i = 0; !found && SetupDiEnumDeviceInfo(set, i, &device); ++i)
    found = HasId(set, device, SPDRP_HARDWAREID, hardwareId) || HasId(set, device, SPDRP_COMPATIBLEIDS, hardwareId);
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
  RegSetValueExW(key, L"Flags", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&flags), sizeof flags);
  RegCloseKey(key);
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
  if (!PresentDeviceHas(hardwareId)) {
    SetLastError(ERROR_NO_SUCH_DEVINST);
    return FALSE;
  }
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}

extern "C" __declspec(dllexport) BOOL WINAPI
    UpdateDriverForPlugAndPlayDevicesA(HWND owner, LPCSTR hardwareId, LPCSTR infPath, DWORD flags, PBOOL reboot) {
  const std::wstring id = FromAnsi(hardwareId), inf = FromAnsi(infPath);
  return UpdateDriverForPlugAndPlayDevicesW(owner, hardwareId ? id.c_str() : nullptr, infPath ? inf.c_str() : nullptr,
                                            flags, reboot);
}
