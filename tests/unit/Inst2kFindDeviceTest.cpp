#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "fakes/ScopedMachine.h"
#include "inst2k/FindExistDevice.h"
#include "inst2k/Inst2kState.h"
#include "inst2k/InstallDriver.h"
#include "platform/Inst2kApi.h"

using namespace inst2k;

namespace {

const std::string kModelId = "DemoCorpDemo_Printer_9F2A";
const std::string kUsbId = "USBPRINT\\DEMOCORPDEMO_PRINTER_9F2A\\7&1A2B3C4D&0&USB001";
// The node's key below HKEY_LOCAL_MACHINE (instance IDs are ASCII).
TString Params(const std::string& instanceId) {
  return u"SYSTEM\\CurrentControlSet\\Enum\\" + TString(instanceId.begin(), instanceId.end()) + u"\\Device Parameters";
}

// The installer's two zero-filled 260-byte buffers, with guard bytes behind
// them so a write past the end is seen.
struct CallerBuffers {
  char hwid[kCallerIdBufferBytes + 16];
  char id[kCallerIdBufferBytes + 16];
  CallerBuffers() {
    std::memset(hwid, 0, sizeof hwid);
    std::memset(id, 0, sizeof id);
    std::memset(hwid + kCallerIdBufferBytes, 0x5A, 16);
    std::memset(id + kCallerIdBufferBytes, 0x5A, 16);
  }
  bool GuardsIntact() const {
    for (int i = 0; i < 16; ++i)
      if (hwid[kCallerIdBufferBytes + i] != 0x5A || id[kCallerIdBufferBytes + i] != 0x5A) return false;
    return true;
  }
};

class Inst2kFindDevice : public ::testing::Test {
 protected:
  bool Find(const std::string& wanted) { return FuncFindExistDevice(wanted.c_str(), buf.hwid, buf.id); }
  ScopedMachine m;
  CallerBuffers buf;
};

}  // namespace

TEST(Inst2kMatching, MatchesWholeIdsAndTailsOnly) {
  const std::string list = FakeDeviceTree::MultiSz({"USBPRINT\\DemoCorpDemo_Printer_9F2A", "DemoCorp_Generic"});
  EXPECT_TRUE(HardwareIdMatches(list, "USBPRINT\\DemoCorpDemo_Printer_9F2A"));
  EXPECT_TRUE(HardwareIdMatches(list, "DemoCorpDemo_Printer_9F2A"));   // the bare model ID
  EXPECT_TRUE(HardwareIdMatches(list, "Printer_9F2A"));                // any tail
  EXPECT_TRUE(HardwareIdMatches(list, "DemoCorp_Generic"));            // a later ID
  EXPECT_FALSE(HardwareIdMatches(list, "DemoCorpDemo_Printer"));       // a middle part
  EXPECT_FALSE(HardwareIdMatches(list, "USBPRINT\\DemoCorp"));         // a head
  EXPECT_FALSE(HardwareIdMatches(list, "democorpdemo_printer_9f2a"));  // letter case counts
  EXPECT_FALSE(HardwareIdMatches(list, "USBPRINT\\DemoCorpDemo_Printer_9F2A\\X"));
  EXPECT_TRUE(HardwareIdMatches(list, ""));  // the empty tail at the first zero
  EXPECT_FALSE(HardwareIdMatches("", ""));
}

TEST(Inst2kMatching, PortNamesByEnumerator) {
  EXPECT_EQ(PortNameFor("USBPRINT\\MODEL\\7&1A2B3C4D&0&USB001"), "USB001");
  EXPECT_EQ(PortNameFor("USB\\VID_1234&PID_5678\\ABCDEF12"), "CDEF12");
  EXPECT_EQ(PortNameFor("USB12"), "USB12");
  EXPECT_EQ(PortNameFor("LPTENUM\\MODEL\\1&7&0&LPT2"), "LPT1:");  // whatever the real port
  EXPECT_EQ(PortNameFor("usbprint\\model\\7&0&usb001"), "");      // prefixes are case-sensitive
  EXPECT_EQ(PortNameFor("SWD\\PRINTENUM\\{1234}"), "");
}

TEST_F(Inst2kFindDevice, FindsUsbPrinterByModelTailAndReportsItsIds) {
  m.tree.Add("PCI\\VEN_8086&DEV_1234\\3&11583659&0&10", {"PCI\\VEN_8086&DEV_1234"});
  m.tree.Add(kUsbId, {"USBPRINT\\DemoCorpDemo_Printer_9F2A", "DemoCorpDemo_Printer_9F2A"});

  EXPECT_TRUE(Find(kModelId));
  EXPECT_STREQ(buf.hwid, "USBPRINT\\DemoCorpDemo_Printer_9F2A");
  EXPECT_STREQ(buf.id, kUsbId.c_str());
  EXPECT_EQ(m.libSys.GetLastError(), 0u);
  EXPECT_EQ(m.tree.OpenSets, 0);
  EXPECT_EQ(m.reg.OpenKeys(), 0);
}

TEST_F(Inst2kFindDevice, NoMatchEndsTheEnumerationQuietly) {
  m.tree.Add(kUsbId, {"USBPRINT\\DemoCorpDemo_Printer_9F2A"});
  ShowErrorCode(1);

  EXPECT_FALSE(Find("democorpdemo_printer_9f2a"));
  EXPECT_FALSE(Find("DemoCorpDemo"));
  EXPECT_EQ(m.libSys.GetLastError(), kErrorNoMoreItems);
  EXPECT_STREQ(buf.id, "");
  EXPECT_TRUE(m.libSys.Boxes.empty());
  EXPECT_EQ(LastInstallErrorCode(), 0u);
  EXPECT_EQ(m.tree.OpenSets, 0);
}

TEST_F(Inst2kFindDevice, EmptyIdAcceptsTheFirstNodeWithHardwareIds) {
  m.tree.Add("ACPI\\PNP0303\\4&1", {});  // no hardware-ID property: skipped silently
  m.tree.Add("HID\\VID_045E\\7&2", {"HID\\VID_045E"});
  ShowErrorCode(1);
  EXPECT_TRUE(Find(""));
  EXPECT_STREQ(buf.id, "HID\\VID_045E\\7&2");
  EXPECT_TRUE(m.libSys.Boxes.empty());
}

TEST_F(Inst2kFindDevice, WithoutUsbSetupClassNothingIsLookedAt) {
  m.tree.SetupClasses = {"Printer"};
  m.tree.Add(kUsbId, {kModelId});
  EXPECT_FALSE(Find(kModelId));
  EXPECT_EQ(m.tree.OpenSets, 0);
  EXPECT_FALSE(m.reg.KeyExists(Params(kUsbId)));
}

TEST_F(Inst2kFindDevice, RootNodesAreSkippedUnlessEnabledButStillGetTheirKey) {
  m.tree.Add("ROOT\\PRINTER\\0000", {kModelId});
  m.tree.Add("root\\printer\\0001", {kModelId});

  EXPECT_FALSE(Find(kModelId));
  EXPECT_STREQ(buf.id, "");
  EXPECT_TRUE(m.reg.KeyExists(Params("ROOT\\PRINTER\\0000")));
  EXPECT_TRUE(m.reg.KeyExists(Params("root\\printer\\0001")));
  EXPECT_EQ(m.reg.Values(Params("ROOT\\PRINTER\\0000")).size(), 0u);

  EnableRootID(1);
  EXPECT_TRUE(Find(kModelId));
  EXPECT_STREQ(buf.id, "ROOT\\PRINTER\\0000");

  // An install switches it off again in the same loaded instance.
  m.libSys.AddFile("C:\\Drv\\demo.inf");
  FuncInst2K("C:\\Drv\\demo.inf", kModelId.c_str(), "LPT1:", 0);
  CallerBuffers again;
  EXPECT_FALSE(FuncFindExistDevice(kModelId.c_str(), again.hwid, again.id));
}

TEST_F(Inst2kFindDevice, NewDeviceParametersKeyGetsThePortName) {
  m.tree.Add(kUsbId, {kModelId});
  ASSERT_TRUE(Find(kModelId));
  const auto* port = m.reg.Value(Params(kUsbId), u"PortName");
  ASSERT_NE(port, nullptr);
  EXPECT_EQ(port->Type, 1u);  // REG_SZ
  EXPECT_EQ(port->Text, u"USB001");

  const std::string lpt = "LPTENUM\\DEMOCORPDEMO_PRINTER_9F2A\\1&7&0&LPT2";
  m.tree.Devices.clear();
  m.tree.Add(lpt, {"LPTENUM\\DemoCorpDemo_Printer_9F2A"});
  ASSERT_TRUE(Find(kModelId));
  EXPECT_EQ(m.reg.Value(Params(lpt), u"PortName")->Text, u"LPT1:");

  const std::string network = "SWD\\PRINTENUM\\{7A3E}";
  m.tree.Devices.clear();
  m.tree.Add(network, {"PRINTENUM\\DemoCorpDemo_Printer_9F2A"});
  ASSERT_TRUE(Find(kModelId));
  EXPECT_TRUE(m.reg.KeyExists(Params(network)));
  EXPECT_EQ(m.reg.Values(Params(network)).size(), 0u);
}

TEST_F(Inst2kFindDevice, ExistingDeviceParametersKeyIsLeftAlone) {
  m.tree.Add(kUsbId, {kModelId});
  m.reg.AddKey(Params(kUsbId));
  ASSERT_TRUE(Find(kModelId));
  EXPECT_EQ(m.reg.Values(Params(kUsbId)).size(), 0u);
  EXPECT_EQ(m.reg.OpenKeys(), 0);
}

TEST_F(Inst2kFindDevice, RefusedKeyDropsTheMemberWithoutSkippingItsNeighbour) {
  m.tree.Add("ROOT\\PRINTER\\0000", {kModelId});
  m.tree.Add(kUsbId, {kModelId});
  m.reg.Uncreatable.insert(Params("ROOT\\PRINTER\\0000"));

  EXPECT_TRUE(Find(kModelId));
  EXPECT_STREQ(buf.id, kUsbId.c_str());
  EXPECT_EQ(m.tree.DeletedMembers, 1);

  // An accepted device whose key cannot be made is still the answer.
  m.tree.Devices.erase(m.tree.Devices.begin());
  m.reg = FakeRegistry();
  m.reg.Uncreatable = {Params(kUsbId)};
  CallerBuffers fresh;
  EXPECT_TRUE(FuncFindExistDevice(kModelId.c_str(), fresh.hwid, fresh.id));
  EXPECT_STREQ(fresh.id, kUsbId.c_str());

  // So is one whose instance ID holds characters the system never allows
  // there; it names no key, and none is made.
  const std::string odd = "USBPRINT\\DEMO\x81\\7&0&USB002";
  m.tree.Devices.clear();
  m.tree.Add(odd, {kModelId});
  m.reg = FakeRegistry();
  CallerBuffers next;
  EXPECT_TRUE(FuncFindExistDevice(kModelId.c_str(), next.hwid, next.id));
  EXPECT_STREQ(next.id, odd.c_str());
  EXPECT_FALSE(m.reg.KeyExists(u"SYSTEM"));
}

TEST_F(Inst2kFindDevice, NullHardwareIdBufferCopiesNothingAtAll) {
  m.tree.Add(kUsbId, {kModelId});
  EXPECT_TRUE(FuncFindExistDevice(kModelId.c_str(), nullptr, buf.id));
  EXPECT_STREQ(buf.id, "");
  EXPECT_TRUE(m.reg.KeyExists(Params(kUsbId)));
}

TEST_F(Inst2kFindDevice, LongHardwareIdIsCutInsideTheCallersBuffer) {
  const std::string longId = "USBPRINT\\" + std::string(400, 'A');
  m.tree.Add(kUsbId, {longId, kModelId});
  ASSERT_TRUE(Find(kModelId));
  EXPECT_EQ(std::strlen(buf.hwid), kCallerIdBufferBytes - 1);
  EXPECT_EQ(std::string(buf.hwid), longId.substr(0, kCallerIdBufferBytes - 1));
  EXPECT_TRUE(buf.GuardsIntact());
}

TEST_F(Inst2kFindDevice, CutNeverSplitsADoubleByteCharacter) {
  m.libSys.LeadBytes = {0x81};
  // 258 ASCII bytes, then a two-byte character that would straddle the end.
  const std::string id = std::string(258, 'B') + "\x81\x40" + "C";
  m.tree.Add(kUsbId, {id, kModelId});
  ASSERT_TRUE(Find(kModelId));
  EXPECT_EQ(std::string(buf.hwid), std::string(258, 'B'));
  EXPECT_TRUE(buf.GuardsIntact());
}

TEST_F(Inst2kFindDevice, InstanceIdTooLongForItsBufferIsNotTaken) {
  const std::string longInstance = "USBPRINT\\" + std::string(95, 'M') + "\\7&0&USB009";
  m.tree.Add(longInstance, {kModelId});
  m.tree.Add(kUsbId, {kModelId});
  EXPECT_TRUE(Find(kModelId));
  EXPECT_STREQ(buf.id, kUsbId.c_str());
  EXPECT_FALSE(m.reg.KeyExists(Params(longInstance)));
}

TEST_F(Inst2kFindDevice, PropertyErrorStopsAndIsReportedWithItsContexts) {
  m.tree.Add("PCI\\BROKEN\\1", {"PCI\\BROKEN"}).PropertyError = 5;
  m.tree.Add(kUsbId, {kModelId});
  m.libSys.SystemMessages[5] = "Access is denied.";
  ShowErrorCode(1);

  EXPECT_FALSE(Find(kModelId));
  EXPECT_EQ(m.libSys.GetLastError(), 5u);
  EXPECT_EQ(LastInstallErrorCode(), 5u);
  ASSERT_EQ(m.libSys.Boxes.size(), 2u);
  EXPECT_EQ(m.libSys.Boxes[0].Text, "GetDeviceRegistryProperty fail: Access is denied.\n");
  EXPECT_EQ(m.libSys.Boxes[0].Caption, "Error");
  EXPECT_EQ(m.libSys.Boxes[0].Style, mb::IconError);
  EXPECT_EQ(m.libSys.Boxes[1].Text, "EnumDeviceInfo fail: Access is denied.\n");
  EXPECT_EQ(m.tree.OpenSets, 0);
}

TEST_F(Inst2kFindDevice, FailuresOfTheSetAndTheEnumerationAreRecorded) {
  m.tree.GetClassDevsFails = true;
  EXPECT_FALSE(Find(kModelId));
  EXPECT_EQ(LastInstallErrorCode(), 5u);

  m.tree.GetClassDevsFails = false;
  m.tree.Add(kUsbId, {"OTHER"});
  m.tree.EnumFailsAtIndex = 1;
  m.tree.EnumFailCode = 1784;
  EXPECT_FALSE(Find(kModelId));
  EXPECT_EQ(LastInstallErrorCode(), 1784u);
  EXPECT_EQ(m.libSys.GetLastError(), 1784u);
}

TEST_F(Inst2kFindDevice, DebugModeAnnouncesTheCall) {
  SetDebugMode(1);
  Find(kModelId);
  ASSERT_EQ(m.libSys.Boxes.size(), 1u);
  EXPECT_EQ(m.libSys.Boxes[0].Text, "FuncFindExistDevice()<<<");
  EXPECT_EQ(m.libSys.Boxes[0].Caption, "debug");
}
