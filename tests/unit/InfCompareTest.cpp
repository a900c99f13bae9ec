// DriverVer comparison of two INF files.
#include <gtest/gtest.h>

#include "fakes/ScopedMachine.h"
#include "install/InstallFunc.h"
#include "sysutil/Exception.h"

namespace {

std::int32_t Compare(const char* driverVer1, const char* driverVer2) {
  ScopedMachine m;
  m.fs.AddFile(u"C:\\a.inf", std::string("[Version]\r\nDriverVer=") + driverVer1 + "\r\n");
  if (driverVer2) m.fs.AddFile(u"C:\\b.inf", std::string("[Version]\r\nDriverVer = ") + driverVer2 + "\r\n");
  return InfCompareVersion(u"C:\\a.inf", u"C:\\b.inf");
}

TEST(InfCompare, VersionsThenDates) {
  struct Row {
    const char *first, *second;
    std::int32_t result;
  } rows[] = {
      {"08/15/2012,1.0.0.3", "08/15/2012,1.0.0.2", 1},
      {"08/15/2012,1.0.0.2", "08/15/2012,1.0.0.10", -1},
      {"08/15/2012,1.0.0.3", "08/15/2012,1.0.0", 1},
      {"08/15/2012,1.0", "08/15/2012,1.0.1", -1},
      {"08/15/2012,1.0", "08/16/2012,1.0", 0},
      {"08/15/2012,1.0", "08/17/2012,1.0", -1},
      {"08/17/2012,1.0", "08/15/2012,1.0", 1},
      {"02/29/2012, 1.abc", "03/01/2012,1.0", 0},
      {"13/01/2012,2.0", "xx,1.0", 1},
      {"", "08/15/2012,1.0", 1},
      {"08/15/2012,1.0", "", 1},
      {"12/31/2011,1.0", "01/01/2012,1.0", 0},
      {"08/15/2012,3000000000.1", "08/15/2012,1.1", -1},  // not an integer: 0
  };
  for (const Row& r : rows) EXPECT_EQ(Compare(r.first, r.second), r.result) << r.first << " / " << r.second;
  EXPECT_EQ(Compare("08/15/2012,1.0", nullptr), kInfMissing);
}

TEST(InfCompare, UnreadableDateNamesBothTexts) {
  struct Row {
    const char* driverVer;
    const char16_t* date;
  } rows[] = {{"13/01/2012,1.0", u"13/01/2012"}, {"08-15-2012,1.0", u"08-15-2012"}, {"02/30/2012,1.0", u"02/30/2012"}};
  for (const Row& r : rows) {
    try {
      Compare(r.driverVer, "08/15/2012,1.0");
      ADD_FAILURE() << r.driverVer;
    } catch (const Exception& e) {
      EXPECT_NE(e.Message().find(TString(u"<") + r.date + u">"), TString::npos) << r.driverVer;
      EXPECT_NE(e.Message().find(u"<08/15/2012>"), TString::npos);
    }
  }
}

TEST(HostCommand, QuotedHostRelativePathsAndPorts) {
  EXPECT_EQ(HostCommandLine(u"C:\\Users\\Jo Smith\\Temp\\tmp1\\PrnSetup64.exe", 66000,
                            u"C:\\Users\\Jo Smith\\Temp\\tmp1\\inst2k64.dll", u"Drv\\x64\\a.inf", u"USBPRINT\\TS01",
                            u"C:\\Pkg"),
            u"\"C:\\Users\\Jo Smith\\Temp\\tmp1\\PrnSetup64.exe\" /Handle 66000 /Dll \"inst2k64.dll\" /Inf "
            u"\"..\\..\\..\\..\\Pkg\\Drv\\x64\\a.inf\" /HWID USBPRINT\\TS01");
  EXPECT_EQ(HostCommandLine(u"C:\\T\\PrnSetup64.exe", -2, u"C:\\T\\inst2k64.dll", u"D:\\Drv\\a.inf", u"X", u"C:\\"),
            u"\"C:\\T\\PrnSetup64.exe\" /Handle -2 /Dll \"inst2k64.dll\" /Inf \"D:\\Drv\\a.inf\" /HWID X");

  struct Row {
    const char16_t *id, *port;
  } rows[] = {{u"USB\\VID_1&PID_2\\USBPRINT\\TESS&USB001", u"USB001"},
              {u"LPTENUM\\TESSTS-2100\\1&LPT1", u"LPT1:"},
              {u"USBPRINT\\TESS", u"USBPRI"},
              {u"SWD\\PRINTENUM\\{X}", u""},
              {u"", u""}};
  for (const Row& r : rows) EXPECT_EQ(CutPortFromInstanceId(r.id), r.port) << text::ToUtf8(r.id);
}

}  // namespace
