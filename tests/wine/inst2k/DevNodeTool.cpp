// Test tool: shapes Wine's device tree for the device-install library's tests.
//   inst2k_devnode create <instance ID> <hardware ID>...   a printer device node
//   inst2k_devnode remove <instance ID>                    the node and its keys
//   inst2k_devnode class-add USB | class-remove USB         the "USB" setup class
// Exit code 0 on success, else the failing call's error code.
#include "win32/WinApi.h"
// <windows.h> first.
#include <devguid.h>
#include <initguid.h>
#include <setupapi.h>

#include <string>
#include <vector>

namespace {

const char* const kUsbClassKey = "System\\CurrentControlSet\\Control\\Class\\{36FC9E60-C465-11CF-8056-444553540000}";

DWORD AddUsbClass() {
  HKEY key;
  LONG r = RegCreateKeyExA(HKEY_LOCAL_MACHINE, kUsbClassKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  if (r != ERROR_SUCCESS) return r;
  r = RegSetValueExA(key, "Class", 0, REG_SZ, reinterpret_cast<const BYTE*>("USB"), 4);
  RegCloseKey(key);
  return r;
}

DWORD RemoveUsbClass() {
  LONG r = RegDeleteTreeA(HKEY_LOCAL_MACHINE, kUsbClassKey);
  return r == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : r;
}

DWORD CreateNode(const std::string& instanceId, const std::vector<std::string>& hardwareIds) {
  HDEVINFO set = SetupDiCreateDeviceInfoList(&GUID_DEVCLASS_PRINTER, nullptr);
  if (set == INVALID_HANDLE_VALUE) return GetLastError();
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof device;
  DWORD result = ERROR_SUCCESS;
  if (SetupDiOpenDeviceInfoA(set, instanceId.c_str(), nullptr, 0, &device)) {
    result = ERROR_SUCCESS;  // already there
  } else if (!SetupDiCreateDeviceInfoA(set, instanceId.c_str(), &GUID_DEVCLASS_PRINTER, "Printer", nullptr, 0,
                                       &device)) {
    result = GetLastError();
  } else {
    std::string list;
    for (const auto& id : hardwareIds) list += id + '\0';
    list += '\0';
    if (!SetupDiSetDeviceRegistryPropertyA(set, &device, SPDRP_HARDWAREID, reinterpret_cast<const BYTE*>(list.data()),
                                           static_cast<DWORD>(list.size())) ||
        !SetupDiRegisterDeviceInfo(set, &device, 0, nullptr, nullptr, nullptr))
      result = GetLastError();
  }
  SetupDiDestroyDeviceInfoList(set);
  return result;
}

DWORD RemoveNode(const std::string& instanceId) {
  HDEVINFO set = SetupDiCreateDeviceInfoList(nullptr, nullptr);
  if (set != INVALID_HANDLE_VALUE) {
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    if (SetupDiOpenDeviceInfoA(set, instanceId.c_str(), nullptr, 0, &device)) SetupDiRemoveDevice(set, &device);
    SetupDiDestroyDeviceInfoList(set);
  }
  // Whatever the removal left behind, the node's keys go.
  LONG r = RegDeleteTreeA(HKEY_LOCAL_MACHINE, ("System\\CurrentControlSet\\Enum\\" + instanceId).c_str());
  return r == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : r;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return ERROR_INVALID_PARAMETER;
  const std::string verb = argv[1];
  if (verb == "class-add") return static_cast<int>(AddUsbClass());
  if (verb == "class-remove") return static_cast<int>(RemoveUsbClass());
  if (verb == "create" && argc >= 4) return static_cast<int>(CreateNode(argv[2], {argv + 3, argv + argc}));
  if (verb == "remove" && argc == 3) return static_cast<int>(RemoveNode(argv[2]));
  return ERROR_INVALID_PARAMETER;
}
