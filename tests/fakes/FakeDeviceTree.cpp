#include "fakes/FakeDeviceTree.h"

#include <algorithm>
#include <cstring>

#include "platform/Inst2kApi.h"

using namespace inst2k;

std::string FakeDeviceTree::MultiSz(const std::vector<std::string>& ids) {
  std::string out;
  for (const auto& id : ids) {
    out += id;
    out.push_back('\0');
  }
  out.push_back('\0');
  return out;
}

bool FakeDeviceTree::ClassGuidsFromName(const std::string& className, std::uint32_t& requiredCount) {
  requiredCount = 0;
  for (const auto& c : SetupClasses)
    if (FakeInst2kSystem::Fold(c) == FakeInst2kSystem::Fold(className)) ++requiredCount;
  // Asked with no buffer: a found class does not fit.
  return requiredCount == 0 ? true : Fail(kErrorInsufficientBuffer);
}

THandle FakeDeviceTree::GetClassDevsAllClasses() {
  if (GetClassDevsFails) {
    m_Sys.SetLastError(5);
    return 0;
  }
  THandle set = m_NextSet++;
  auto& members = m_Sets[set];
  for (std::size_t i = 0; i < Devices.size(); ++i) members.push_back(i);
  ++OpenSets;
  return set;
}

bool FakeDeviceTree::EnumDeviceInfo(THandle set, std::uint32_t index, TDevInfoData& device) {
  auto it = m_Sets.find(set);
  if (it == m_Sets.end()) return Fail(6);  // ERROR_INVALID_HANDLE
  if (index == EnumFailsAtIndex) return Fail(EnumFailCode);
  if (index >= it->second.size()) return Fail(kErrorNoMoreItems);
  if (device.cbSize != sizeof(TDevInfoData)) return Fail(1784);  // ERROR_INVALID_USER_BUFFER
  device.DevInst = static_cast<std::uint32_t>(it->second[index]) + 1;
  return true;
}

const FakeDevice* FakeDeviceTree::Member(THandle set, const TDevInfoData& device) {
  auto it = m_Sets.find(set);
  if (it == m_Sets.end() || device.DevInst == 0) return nullptr;
  const std::size_t index = device.DevInst - 1;
  if (std::find(it->second.begin(), it->second.end(), index) == it->second.end()) return nullptr;
  return &Devices[index];
}

bool FakeDeviceTree::GetDeviceRegistryProperty(THandle set, const TDevInfoData& device, std::uint32_t property,
                                               std::uint8_t* buffer, std::uint32_t size, std::uint32_t& required) {
  const FakeDevice* d = Member(set, device);
  if (!d) return Fail(kErrorNoSuchDevinst);
  if (property != kSpdrpHardwareId) return Fail(kErrorInvalidData);
  if (d->PropertyError) return Fail(d->PropertyError);
  if (d->HardwareIds.empty()) return Fail(kErrorInvalidData);
  const std::string bytes = MultiSz(d->HardwareIds);
  required = static_cast<std::uint32_t>(bytes.size());
  if (!buffer || size < bytes.size()) return Fail(kErrorInsufficientBuffer);
  std::memcpy(buffer, bytes.data(), bytes.size());
  return true;
}

bool FakeDeviceTree::GetDeviceInstanceId(THandle set, const TDevInfoData& device, char* buffer, std::uint32_t size,
                                         std::uint32_t& required) {
  const FakeDevice* d = Member(set, device);
  if (!d) return Fail(kErrorNoSuchDevinst);
  required = static_cast<std::uint32_t>(d->InstanceId.size() + 1);
  if (!buffer || size < required) return Fail(kErrorInsufficientBuffer);
  std::memcpy(buffer, d->InstanceId.c_str(), required);
  return true;
}

bool FakeDeviceTree::DeleteDeviceInfo(THandle set, const TDevInfoData& device) {
  if (!Member(set, device)) return Fail(kErrorNoSuchDevinst);
  auto& members = m_Sets[set];
  members.erase(std::find(members.begin(), members.end(), static_cast<std::size_t>(device.DevInst - 1)));
  ++DeletedMembers;
  return true;
}

bool FakeDeviceTree::DestroyDeviceInfoList(THandle set) {
  if (!m_Sets.erase(set)) return Fail(6);
  --OpenSets;
  return true;
}

bool FakeDeviceTree::UpdateDriverForPlugAndPlayDevices(THandle owner, const std::string& hardwareId,
                                                       const std::string& infPath, std::uint32_t flags,
                                                       bool& rebootRequired) {
  UpdateCalls.push_back({owner, hardwareId, infPath, flags});
  rebootRequired = false;
  if (UpdateError) return Fail(UpdateError);
  if (hardwareId.empty()) return Fail(kErrorInvalidParameter);
  const std::uint32_t attributes = m_Sys.GetFileAttributes(infPath);
  if (attributes == kInvalidFileAttributes || (attributes & kFileAttributeDirectory)) return Fail(kErrorFileNotFound);
  const std::string wanted = FakeInst2kSystem::Fold(hardwareId);
  for (const auto& d : Devices) {
    if (!d.Present) continue;
    for (const auto& id : d.HardwareIds) {
      if (FakeInst2kSystem::Fold(id) == wanted) {
        rebootRequired = RebootRequired;
        return true;
      }
    }
  }
  return Fail(kErrorNoSuchDevinst);
}

bool FakeDeviceTree::CopyOEMInf(const std::string& infPath, const std::string& /*sourceLocation*/, char* dest,
                                std::uint32_t destSize, std::uint32_t& required) {
  const std::uint32_t attributes = m_Sys.GetFileAttributes(infPath);
  if (attributes == kInvalidFileAttributes || (attributes & kFileAttributeDirectory)) return Fail(kErrorFileNotFound);
  std::string full;
  m_Sys.GetFullPathName(infPath, full);
  auto it = OemInfs.find(FakeInst2kSystem::Fold(full));
  const std::string name =
      it != OemInfs.end() ? it->second : "C:\\Windows\\INF\\oem" + std::to_string(NextOemNumber) + ".inf";
  required = static_cast<std::uint32_t>(name.size() + 1);
  if (!dest || destSize < required) return Fail(kErrorInsufficientBuffer);
  if (it == OemInfs.end()) {
    OemInfs[FakeInst2kSystem::Fold(full)] = name;
    ++NextOemNumber;
  }
  std::memcpy(dest, name.c_str(), required);
  return true;
}

std::uint32_t FakeDeviceTree::LocateRootDevNode(std::uint32_t& devInst) {
  devInst = LocateResult == kCrSuccess ? 0x4711 : 0;
  return LocateResult;
}

std::uint32_t FakeDeviceTree::ReenumerateDevNode(std::uint32_t devInst, std::uint32_t flags) {
  Reenumerated.push_back(devInst);
  return flags == 0 ? kCrSuccess : 4;  // CR_INVALID_FLAG
}
