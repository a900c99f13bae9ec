#include "win32/WinApi.h"
// WinApi.h first: the SetupAPI headers need <windows.h>.
#include <cfgmgr32.h>
#include <devguid.h>
#include <initguid.h>
#include <newdev.h>
#include <setupapi.h>

#include <cstring>

#include "inst2k/IDeviceSetup.h"
#include "inst2k/win32/Win32Inst2kPorts.h"
#include "win32/SystemLibrary.h"

namespace inst2k {

namespace {

SP_DEVINFO_DATA ToWin(const TDevInfoData& d) {
  SP_DEVINFO_DATA w{};
  w.cbSize = sizeof(SP_DEVINFO_DATA);
  std::memcpy(&w.ClassGuid, d.ClassGuid, sizeof(GUID));
  w.DevInst = d.DevInst;
  w.Reserved = d.Reserved;
  return w;
}

void FromWin(const SP_DEVINFO_DATA& w, TDevInfoData& d) {
  d.cbSize = w.cbSize;
  std::memcpy(d.ClassGuid, &w.ClassGuid, sizeof(GUID));
  d.DevInst = w.DevInst;
  d.Reserved = w.Reserved;
}

HDEVINFO Set(THandle h) { return reinterpret_cast<HDEVINFO>(h); }

}  // namespace

class Win32DeviceSetup : public IDeviceSetup {
 public:
  bool ClassGuidsFromName(const std::string& className, std::uint32_t& requiredCount) override {
    DWORD required = 0;
    BOOL ok = ::SetupDiClassGuidsFromNameA(className.c_str(), nullptr, 0, &required);
    requiredCount = required;
    return ok != FALSE;
  }
  THandle GetClassDevsAllClasses() override {
    HDEVINFO set = ::SetupDiGetClassDevsA(&GUID_DEVCLASS_USB, nullptr, nullptr, DIGCF_ALLCLASSES);
    return set == INVALID_HANDLE_VALUE ? 0 : reinterpret_cast<THandle>(set);
  }
  bool EnumDeviceInfo(THandle set, std::uint32_t index, TDevInfoData& device) override {
    SP_DEVINFO_DATA w{};
    w.cbSize = sizeof(w);
    if (!::SetupDiEnumDeviceInfo(Set(set), index, &w)) return false;
    FromWin(w, device);
    return true;
  }
  bool GetDeviceRegistryProperty(THandle set, const TDevInfoData& device, std::uint32_t property, std::uint8_t* buffer,
                                 std::uint32_t size, std::uint32_t& required) override {
    SP_DEVINFO_DATA w = ToWin(device);
    DWORD type = 0, req = 0;
    BOOL ok = ::SetupDiGetDeviceRegistryPropertyA(Set(set), &w, property, &type, buffer, size, &req);
    required = req;
    return ok != FALSE;
  }
  bool GetDeviceInstanceId(THandle set, const TDevInfoData& device, char* buffer, std::uint32_t size,
                           std::uint32_t& required) override {
    SP_DEVINFO_DATA w = ToWin(device);
    DWORD req = 0;
    BOOL ok = ::SetupDiGetDeviceInstanceIdA(Set(set), &w, buffer, size, &req);
    required = req;
    return ok != FALSE;
  }
  bool DeleteDeviceInfo(THandle set, const TDevInfoData& device) override {
    SP_DEVINFO_DATA w = ToWin(device);
    return ::SetupDiDeleteDeviceInfo(Set(set), &w) != FALSE;
  }
  bool DestroyDeviceInfoList(THandle set) override { return ::SetupDiDestroyDeviceInfoList(Set(set)) != FALSE; }

  bool UpdateDriverForPlugAndPlayDevices(THandle owner, const std::string& hardwareId, const std::string& infPath,
                                         std::uint32_t flags, bool& rebootRequired) override {
    // newdev and cfgmgr32 are not known libraries: from the system folder only.
    win::SystemLibrary newdev(L"newdev.dll");
    const auto update =
        newdev.Entry<decltype(&::UpdateDriverForPlugAndPlayDevicesA)>("UpdateDriverForPlugAndPlayDevicesA");
    if (!update) return false;
    BOOL reboot = FALSE;
    BOOL ok = update(reinterpret_cast<HWND>(owner), hardwareId.c_str(), infPath.c_str(), flags, &reboot);
    rebootRequired = reboot != FALSE;
    return ok != FALSE;
  }
  bool CopyOEMInf(const std::string& infPath, const std::string& sourceLocation, char* dest, std::uint32_t destSize,
                  std::uint32_t& required) override {
    DWORD req = 0;
    BOOL ok = ::SetupCopyOEMInfA(infPath.c_str(), sourceLocation.c_str(), SPOST_PATH, 0, dest, destSize, &req, nullptr);
    required = req;
    return ok != FALSE;
  }

  std::uint32_t LocateRootDevNode(std::uint32_t& devInst) override {
    win::SystemLibrary cfgmgr(L"cfgmgr32.dll");
    const auto locate = cfgmgr.Entry<decltype(&::CM_Locate_DevNode_ExA)>("CM_Locate_DevNode_ExA");
    if (!locate) return CR_FAILURE;
    DEVINST root = 0;
    CONFIGRET cr = locate(&root, nullptr, CM_LOCATE_DEVNODE_NORMAL, nullptr);
    devInst = root;
    return cr;
  }
  std::uint32_t ReenumerateDevNode(std::uint32_t devInst, std::uint32_t flags) override {
    win::SystemLibrary cfgmgr(L"cfgmgr32.dll");
    const auto reenumerate = cfgmgr.Entry<decltype(&::CM_Reenumerate_DevNode_Ex)>("CM_Reenumerate_DevNode_Ex");
    return reenumerate ? reenumerate(devInst, flags, nullptr) : CR_FAILURE;
  }
};

IDeviceSetup& Win32DeviceSetupPort() {
  static Win32DeviceSetup port;
  return port;
}

}  // namespace inst2k
