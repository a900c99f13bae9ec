// Plug and Play setup as the device-install library uses it: SetupAPI's
// device information sets and INF store, newdev's driver update and the
// configuration manager's re-enumeration. ANSI text, Win32 semantics: a
// failing call returns false and leaves its code as the thread's last error.
#pragma once

#include <cstdint>
#include <string>

#include "inst2k/IInst2kSystem.h"
#include "platform/Owned.h"
#include "platform/Port.h"

namespace inst2k {

// Mirrors SP_DEVINFO_DATA field by field.
struct TDevInfoData {
  std::uint32_t cbSize = 0;
  std::uint8_t ClassGuid[16] = {};
  std::uint32_t DevInst = 0;
  std::uintptr_t Reserved = 0;
};

inline constexpr std::uint32_t kSpdrpHardwareId = 1;  // SPDRP_HARDWAREID
inline constexpr std::uint32_t kSpostPath = 1;        // SPOST_PATH
inline constexpr std::uint32_t kCrSuccess = 0;        // CR_SUCCESS

class IDeviceSetup {
 public:
  virtual ~IDeviceSetup() = default;

  // SetupDiClassGuidsFromNameA(name, nullptr, 0, &required): only the count
  // of classes with that name is wanted.
  virtual bool ClassGuidsFromName(const std::string& className, std::uint32_t& requiredCount) = 0;
  // SetupDiGetClassDevsA(&GUID_DEVCLASS_USB, nullptr, nullptr, DIGCF_ALLCLASSES):
  // every device node the system knows. 0 on failure.
  virtual THandle GetClassDevsAllClasses() = 0;
  virtual bool EnumDeviceInfo(THandle set, std::uint32_t index, TDevInfoData& device) = 0;
  // SetupDiGetDeviceRegistryPropertyA without the type output; `required` is
  // set whenever the system reports it (also with ERROR_INSUFFICIENT_BUFFER).
  virtual bool GetDeviceRegistryProperty(THandle set, const TDevInfoData& device, std::uint32_t property,
                                         std::uint8_t* buffer, std::uint32_t size, std::uint32_t& required) = 0;
  virtual bool GetDeviceInstanceId(THandle set, const TDevInfoData& device, char* buffer, std::uint32_t size,
                                   std::uint32_t& required) = 0;
  // Removes the member from the set only, never from the system.
  virtual bool DeleteDeviceInfo(THandle set, const TDevInfoData& device) = 0;
  virtual bool DestroyDeviceInfoList(THandle set) = 0;

  // newdev's UpdateDriverForPlugAndPlayDevicesA.
  virtual bool UpdateDriverForPlugAndPlayDevices(THandle owner, const std::string& hardwareId,
                                                 const std::string& infPath, std::uint32_t flags,
                                                 bool& rebootRequired) = 0;
  // SetupCopyOEMInfA(inf, source, SPOST_PATH, 0, dest, destSize, &required, nullptr).
  virtual bool CopyOEMInf(const std::string& infPath, const std::string& sourceLocation, char* dest,
                          std::uint32_t destSize, std::uint32_t& required) = 0;

  // CM_Locate_DevNode_ExA(&devInst, nullptr, CM_LOCATE_DEVNODE_NORMAL, nullptr).
  virtual std::uint32_t LocateRootDevNode(std::uint32_t& devInst) = 0;
  // CM_Reenumerate_DevNode_Ex(devInst, flags, nullptr).
  virtual std::uint32_t ReenumerateDevNode(std::uint32_t devInst, std::uint32_t flags) = 0;
};

inline IDeviceSetup& DevSetup() { return PortSlot<IDeviceSetup>::Get(); }

// A device information set, destroyed without disturbing the last error.
struct DeviceInfoSetTraits : TPortHandleTraits {
  static void Close(THandle set) {
    const std::uint32_t err = LibSys().GetLastError();
    DevSetup().DestroyDeviceInfoList(set);
    LibSys().SetLastError(err);
  }
};
using TDeviceInfoSet = TOwned<DeviceInfoSetTraits>;

}  // namespace inst2k
