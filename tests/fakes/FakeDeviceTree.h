// Plug and Play in memory: device nodes with hardware IDs, device information
// sets over them, setup classes, newdev's driver update for present devices,
// the INF store and the configuration manager's rescan. Failing calls set
// the last error of the fake library system, as SetupAPI does.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "fakes/FakeInst2kSystem.h"
#include "inst2k/IDeviceSetup.h"

struct FakeDevice {
  std::string InstanceId;
  std::vector<std::string> HardwareIds;  // none: the property is missing
  bool Present = true;
  std::uint32_t PropertyError = 0;  // when set, reading the hardware IDs fails with it
};

class FakeDeviceTree : public inst2k::IDeviceSetup {
 public:
  explicit FakeDeviceTree(FakeInst2kSystem& sys) : m_Sys(sys) {}

  struct UpdateCall {
    THandle Owner;
    std::string HardwareId, InfPath;
    std::uint32_t Flags;
  };

  std::vector<FakeDevice> Devices;
  std::set<std::string> SetupClasses = {"USB", "Printer"};
  bool GetClassDevsFails = false;
  std::uint32_t EnumFailsAtIndex = 0xFFFFFFFF;  // an enumeration error other than the end
  std::uint32_t EnumFailCode = 0;
  // newdev: a forced error code, the restart answer, the calls seen.
  std::uint32_t UpdateError = 0;
  bool RebootRequired = false;
  std::vector<UpdateCall> UpdateCalls;
  // INF store: registered source path -> destination name.
  std::map<std::string, std::string> OemInfs;
  int NextOemNumber = 7;
  // Configuration manager.
  std::uint32_t LocateResult = inst2k::kCrSuccess;
  std::vector<std::uint32_t> Reenumerated;
  int OpenSets = 0;
  int DeletedMembers = 0;

  FakeDevice& Add(const std::string& instanceId, std::vector<std::string> hardwareIds) {
    Devices.push_back({instanceId, std::move(hardwareIds)});
    return Devices.back();
  }
  // The hardware-ID property bytes: each ID with its zero, and an extra zero.
  static std::string MultiSz(const std::vector<std::string>& ids);

  bool ClassGuidsFromName(const std::string& className, std::uint32_t& requiredCount) override;
  THandle GetClassDevsAllClasses() override;
  bool EnumDeviceInfo(THandle set, std::uint32_t index, inst2k::TDevInfoData& device) override;
  bool GetDeviceRegistryProperty(THandle set, const inst2k::TDevInfoData& device, std::uint32_t property,
                                 std::uint8_t* buffer, std::uint32_t size, std::uint32_t& required) override;
  bool GetDeviceInstanceId(THandle set, const inst2k::TDevInfoData& device, char* buffer, std::uint32_t size,
                           std::uint32_t& required) override;
  bool DeleteDeviceInfo(THandle set, const inst2k::TDevInfoData& device) override;
  bool DestroyDeviceInfoList(THandle set) override;
  bool UpdateDriverForPlugAndPlayDevices(THandle owner, const std::string& hardwareId, const std::string& infPath,
                                         std::uint32_t flags, bool& rebootRequired) override;
  bool CopyOEMInf(const std::string& infPath, const std::string& sourceLocation, char* dest, std::uint32_t destSize,
                  std::uint32_t& required) override;
  std::uint32_t LocateRootDevNode(std::uint32_t& devInst) override;
  std::uint32_t ReenumerateDevNode(std::uint32_t devInst, std::uint32_t flags) override;

 private:
  bool Fail(std::uint32_t code) {
    m_Sys.SetLastError(code);
    return false;
  }
  const FakeDevice* Member(THandle set, const inst2k::TDevInfoData& device);

  FakeInst2kSystem& m_Sys;
  std::map<THandle, std::vector<std::size_t>> m_Sets;  // set -> device indices
  THandle m_NextSet = 0x100;
};
