#include "inst2k/FindExistDevice.h"

#include <vector>

#include "inst2k/IDeviceSetup.h"
#include "inst2k/IInst2kSystem.h"
#include "inst2k/Inst2kState.h"
#include "inst2k/ReportInstallError.h"
#include "platform/IRegistry.h"
#include "platform/Inst2kApi.h"

namespace inst2k {

namespace {

constexpr std::uint32_t kMaxPropertyBytes = 1u << 20;

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

bool StartsWithRootAnyCase(std::string_view id) {
  if (id.size() < 4) return false;
  for (size_t i = 0; i < 4; ++i) {
    char c = id[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    if (c != "ROOT"[i]) return false;
  }
  return true;
}

// Reads the hardware-ID list, growing the buffer to the size the system asks
// for. False with the system's last error when the property cannot be read.
bool ReadHardwareIds(THandle set, const TDevInfoData& device, std::string& list) {
  IDeviceSetup& setup = DevSetup();
  std::vector<std::uint8_t> buffer;
  std::uint32_t required = 0;
  for (;;) {
    if (setup.GetDeviceRegistryProperty(set, device, kSpdrpHardwareId, buffer.empty() ? nullptr : buffer.data(),
                                        static_cast<std::uint32_t>(buffer.size()), required))
      break;
    if (LibSys().GetLastError() != kErrorInsufficientBuffer || required <= buffer.size() ||
        required > kMaxPropertyBytes)
      return false;
    buffer.resize(required);
  }
  if (required > buffer.size()) required = static_cast<std::uint32_t>(buffer.size());
  list.assign(reinterpret_cast<const char*>(buffer.data()), required);
  return true;
}

// A device instance ID holds only characters from 0x20 to 0x7F, so it widens
// character by character; false for anything else.
bool WidenInstanceId(const std::string& id, TString& wide) {
  wide.clear();
  for (char c : id) {
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7F) return false;
    wide += static_cast<char16_t>(c);
  }
  return true;
}

// Creates the node's "Device Parameters" key with its "PortName" when the key
// is missing. False only when the key is missing and cannot be created (or
// the ID cannot name a key).
bool EnsureDeviceParameters(const std::string& instanceId) {
  TString id;
  if (!WidenInstanceId(instanceId, id)) return false;
  const TString path = u"system\\CurrentControlSet\\Enum\\" + id + u"\\Device Parameters";
  TRegKey key;
  if (key.Open(path)) return true;
  if (!key.Create(path)) return false;
  TString port;
  WidenInstanceId(PortNameFor(instanceId), port);
  if (!port.empty()) Reg().WriteText(key.Get(), u"PortName", port);
  return true;
}

}  // namespace

bool HardwareIdMatches(std::string_view idList, std::string_view wanted) {
  const size_t n = idList.size();
  const size_t len = wanted.size();
  // At offset i the text runs to the next zero: it equals `wanted` when the
  // next len bytes do and a zero follows (i + len < n keeps it in range).
  for (size_t i = 0; i + len < n; ++i) {
    if (idList[i + len] == '\0' && idList.compare(i, len, wanted) == 0) return true;
  }
  return false;
}

std::string PortNameFor(std::string_view instanceId) {
  if (StartsWith(instanceId, "LPT")) return "LPT1:";
  if (StartsWith(instanceId, "USB"))
    return std::string(instanceId.size() > 6 ? instanceId.substr(instanceId.size() - 6) : instanceId);
  return {};
}

void CopyAnsiBounded(char* dest, std::uint32_t size, std::string_view src) {
  if (!dest || size == 0) return;
  size_t n = 0;
  while (n < src.size() && src[n] != '\0') {
    const bool lead = LibSys().IsLeadByte(static_cast<std::uint8_t>(src[n]));
    const size_t step = (lead && n + 1 < src.size() && src[n + 1] != '\0') ? 2 : 1;
    if (n + step >= size) break;
    n += step;
  }
  src.copy(dest, n);
  dest[n] = '\0';
}

bool FuncFindExistDevice(const char* hardwareId, char* hardwareIdOut, char* instanceIdOut) {
  TModuleState& st = ModuleState();
  IInst2kSystem& sys = LibSys();
  IDeviceSetup& setup = DevSetup();
  if (st.DebugMode) sys.MessageBox(st.OwnerWindow, "FuncFindExistDevice()<<<", "debug", mb::Ok);

  std::uint32_t usbClasses = 0;
  setup.ClassGuidsFromName("USB", usbClasses);
  if (usbClasses == 0) return false;

  const TDeviceInfoSet owned(setup.GetClassDevsAllClasses());
  const THandle set = owned.Get();
  if (!set) {
    ReportInstallError("GetClassDevs(All Present Devices)");
    return false;
  }

  const std::string_view wanted = hardwareId ? hardwareId : "";
  bool accepted = false;
  std::uint32_t index = 0;
  for (;;) {
    TDevInfoData device;
    device.cbSize = sizeof(TDevInfoData);
    if (!setup.EnumDeviceInfo(set, index, device)) break;

    std::string idList;
    if (!ReadHardwareIds(set, device, idList)) {
      if (sys.GetLastError() == kErrorInvalidData) {  // no hardware IDs: not a candidate
        ++index;
        continue;
      }
      ReportInstallError("GetDeviceRegistryProperty");
      break;
    }
    if (!HardwareIdMatches(idList, wanted)) {
      ++index;
      continue;
    }

    char idBuffer[kInstanceIdChars] = {};
    std::uint32_t required = 0;
    if (!setup.GetDeviceInstanceId(set, device, idBuffer, kInstanceIdChars, required)) {
      // An instance ID that does not fit would give a wrong key and port: skip it.
      ++index;
      continue;
    }
    idBuffer[kInstanceIdChars - 1] = '\0';
    const std::string instanceId = idBuffer;

    const bool accept = st.RootIDEnabled != 0 || !StartsWithRootAnyCase(instanceId);
    if (accept && hardwareIdOut) {
      CopyAnsiBounded(hardwareIdOut, kCallerIdBufferBytes, idList);  // the first ID of the list
      CopyAnsiBounded(instanceIdOut, kCallerIdBufferBytes, instanceId);
    }
    bool removed = false;
    if (!EnsureDeviceParameters(instanceId)) removed = setup.DeleteDeviceInfo(set, device);
    if (accept) {
      accepted = true;
      break;
    }
    if (!removed) ++index;  // after a removal the next member has taken this index
  }

  std::uint32_t err = accepted ? 0 : sys.GetLastError();
  if (!accepted && err == 0) err = kErrorNoMoreItems;
  if (err != 0 && err != kErrorNoMoreItems) ReportInstallError("EnumDeviceInfo");
  sys.SetLastError(err);
  return accepted;
}

}  // namespace inst2k
