#include <gtest/gtest.h>

#include "inst2k/PrnSetup64Args.h"

using namespace inst2k;

namespace {

TPrnSetup64Args Parse(std::vector<TString> args) { return ParsePrnSetup64Args(args); }

}  // namespace

TEST(PrnSetup64Args, ReadsTheInstallersCommandLine) {
  const auto a = Parse({u"/Handle", u"197364", u"/Dll", u"inst2k64.dll", u"/Inf", u"..\\驱动\\Win64\\demo.inf",
                        u"/HWID", u"DemoCorpDemo_Printer_9F2A", u"/FindHWID", u"C:\\Temp\\tmp3C.tmp"});
  EXPECT_EQ(a.Handle, 197364);
  EXPECT_EQ(a.Dll, u"inst2k64.dll");
  EXPECT_EQ(a.Inf, u"..\\驱动\\Win64\\demo.inf");
  EXPECT_EQ(a.HWID, u"DemoCorpDemo_Printer_9F2A");
  EXPECT_EQ(a.FindHWID, u"C:\\Temp\\tmp3C.tmp");
  EXPECT_TRUE(a.DetectionMode());
}

TEST(PrnSetup64Args, OptionNamesIgnoreLetterCase) {
  const auto lower =
      Parse({u"/handle", u"5", u"/dll", u"a.dll", u"/inf", u"b.inf", u"/hwid", u"X", u"/findhwid", u"f"});
  const auto upper =
      Parse({u"/HANDLE", u"5", u"/DLL", u"a.dll", u"/INF", u"b.inf", u"/HWID", u"X", u"/FINDHWID", u"f"});
  for (const auto& a : {lower, upper}) {
    EXPECT_EQ(a.Handle, 5);
    EXPECT_EQ(a.Dll, u"a.dll");
    EXPECT_EQ(a.Inf, u"b.inf");
    EXPECT_EQ(a.HWID, u"X");
    EXPECT_EQ(a.FindHWID, u"f");
  }
}

TEST(PrnSetup64Args, UnknownOptionsClearTheCurrentOneAndStrayValuesAreIgnored) {
  const auto a = Parse({u"stray", u"/HWID", u"A", u"/Quiet", u"B", u"/Inf", u"c.inf", u"/", u"d.inf"});
  EXPECT_EQ(a.HWID, u"A");
  EXPECT_EQ(a.Inf, u"c.inf");
  EXPECT_FALSE(a.DetectionMode());
}

TEST(PrnSetup64Args, ALaterValueReplacesTheFirst) {
  const auto a = Parse({u"/Inf", u"First", u"Second", u"/Handle", u"12", u"34"});
  EXPECT_EQ(a.Inf, u"Second");
  EXPECT_EQ(a.Handle, 34);
  EXPECT_EQ(a.Refusal, 0u);
}

TEST(PrnSetup64Args, HardwareIdsWithBlanksAreRefused) {
  struct Case {
    std::vector<TString> Args;
    bool Refused;
  };
  const Case cases[] = {
      {{u"/HWID", u"USBPRINT\\Tessaron", u"TS-2100"}, true},  // split over two arguments
      {{u"/HWID", u"Tessaron TS-2100"}, true},                // quoted with its blank
      {{u"/HWID", u"Tessaron\tTS-2100"}, true},
      {{u"/HWID", u"A", u"/Inf", u"x.inf", u"/hwid", u"B"}, true},
      {{u"/HWID", u"USBPRINT\\TessaronTS-2100", u"/Inf", u"x.inf", u"more.inf"}, false},
      {{u"/HWID", u"Tessaron_TS-2100&REV_01"}, false},
  };
  for (const Case& c : cases) {
    const auto a = Parse(c.Args);
    EXPECT_EQ(a.Refusal != 0, c.Refused) << text::ToUtf8(c.Args[1]);
  }
}

TEST(PrnSetup64Args, MissingOrBadValuesStayEmpty) {
  EXPECT_EQ(Parse({u"/Handle"}).Handle, 0);
  EXPECT_EQ(Parse({u"/Handle", u"window"}).Handle, 0);
  EXPECT_EQ(Parse({u"/Handle", u"/Dll", u"x.dll"}).Handle, 0);
  const auto a = Parse({u"/FindHWID", u"/Dll", u"x.dll"});
  EXPECT_FALSE(a.DetectionMode());  // the option without a value selects nothing
  EXPECT_TRUE(Parse({}).Dll.empty());
}

TEST(PrnSetup64Args, HandleValuesAreThirtyTwoBitDecimals) {
  EXPECT_EQ(ParseHandleValue(u"12abc"), 12);
  EXPECT_EQ(ParseHandleValue(u"-5"), -5);
  EXPECT_EQ(ParseHandleValue(u"+7"), 7);
  EXPECT_EQ(ParseHandleValue(u"2147483647"), 2147483647);
  // A handle printed unsigned comes back as the same 32 bits.
  EXPECT_EQ(static_cast<std::uint32_t>(ParseHandleValue(u"4294967295")), 0xFFFFFFFFu);
  EXPECT_EQ(ParseHandleValue(u""), 0);
  EXPECT_EQ(ParseHandleValue(u" 12"), 0);
}
