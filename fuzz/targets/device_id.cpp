// Device-ID matching, port cutting and the device search into the caller's
// exact 260-byte buffers. Checks: the matching against a reference written
// from the rule (any ID of the list or any tail of one); the port against the
// rule; copies that end in the buffer, terminated, without splitting a
// double-byte character; the search hands back the first ID of a matching
// device that is not root-enumerated.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "fakes/ScopedMachine.h"
#include "inst2k/FindExistDevice.h"
#include "platform/Inst2kApi.h"

using namespace inst2k;

namespace {

// Any ID of the zero-separated list, or any tail of one, equals `wanted`;
// only offsets below size - wanted.size() count.
bool ReferenceMatch(const std::string& list, const std::string& wanted) {
  for (size_t i = 0; i + wanted.size() < list.size(); ++i) {
    const size_t end = list.find('\0', i);
    if (end != std::string::npos && end - i == wanted.size() && list.compare(i, wanted.size(), wanted) == 0)
      return true;
  }
  return false;
}

std::string ReferencePort(const std::string& id) {
  if (id.rfind("LPT", 0) == 0) return "LPT1:";
  if (id.rfind("USB", 0) == 0) return id.size() > 6 ? id.substr(id.size() - 6) : id;
  return "";
}

// A heap block of exactly the caller's size, so the sanitizer sees any write past it.
std::unique_ptr<char[]> CallerBuffer() { return std::unique_ptr<char[]>(new char[kCallerIdBufferBytes]()); }

void CheckCopy(const char* buf, const std::string& src, FakeInst2kSystem& sys) {
  const size_t n = std::char_traits<char>::length(buf);  // terminated inside the block, or ASan reports
  FUZZ_CHECK(n < kCallerIdBufferBytes);
  FUZZ_CHECK(src.compare(0, n, buf) == 0);
  size_t i = 0;  // no double-byte character cut in half: a lone lead byte only where the source ends
  while (i + 1 < n) i += sys.IsLeadByte(static_cast<std::uint8_t>(buf[i])) ? 2 : 1;
  if (i + 1 == n && sys.IsLeadByte(static_cast<std::uint8_t>(buf[i]))) FUZZ_CHECK(n == src.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  ScopedMachine m;
  if (in.ConsumeBool()) m.libSys.LeadBytes = {0x81, 0x82, 0xE9, 0xFE};

  const std::string list = in.ConsumeRandomLengthString(600);
  std::string wanted = in.ConsumeRandomLengthString(300);
  wanted.resize(std::min(wanted.size(), wanted.find('\0')));  // the caller's text is a C string
  FUZZ_CHECK(HardwareIdMatches(list, wanted) == ReferenceMatch(list, wanted));
  FUZZ_CHECK(PortNameFor(list) == ReferencePort(list));

  auto buf = CallerBuffer();
  CopyAnsiBounded(buf.get(), kCallerIdBufferBytes, list);
  CheckCopy(buf.get(), list.substr(0, list.find('\0')), m.libSys);

  // A tree of devices whose IDs come from the input; the wanted ID is one of
  // them or a tail of one when the input says so.
  for (int d = in.ConsumeIntegralInRange(0, 4); d > 0; --d) {
    std::vector<std::string> ids;
    for (int k = in.ConsumeIntegralInRange(0, 3); k > 0; --k) ids.push_back(in.ConsumeRandomLengthString(300));
    m.tree.Add(in.ConsumeBool() ? "ROOT\\PRINTER\\000" + std::to_string(d) : in.ConsumeRandomLengthString(120), ids);
  }
  std::string hwid = wanted;
  if (!m.tree.Devices.empty() && !m.tree.Devices[0].HardwareIds.empty() && in.ConsumeBool()) {
    const std::string& id = m.tree.Devices[0].HardwareIds[0];
    hwid = id.substr(std::min(id.size(), static_cast<size_t>(in.ConsumeIntegralInRange(0, 40))));
  }
  hwid.resize(std::min(hwid.size(), hwid.find('\0')));
  auto hwidOut = CallerBuffer(), idOut = CallerBuffer();
  const bool found = FuncFindExistDevice(hwid.c_str(), hwidOut.get(), idOut.get());
  if (!found) return 0;
  bool matched = false;
  for (const FakeDevice& dev : m.tree.Devices) {
    const std::string ids = FakeDeviceTree::MultiSz(dev.HardwareIds);
    if (dev.HardwareIds.empty() || !ReferenceMatch(ids, hwid)) continue;
    const std::string first = ids.substr(0, ids.find('\0'));
    if (std::string(hwidOut.get()) == first.substr(0, std::string(hwidOut.get()).size())) matched = true;
  }
  FUZZ_CHECK(matched);
  CheckCopy(hwidOut.get(), std::string(hwidOut.get()), m.libSys);
  CheckCopy(idOut.get(), std::string(idOut.get()), m.libSys);
  return 0;
}
