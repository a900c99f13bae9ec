// The 64-bit host's command line and both modes against the fake host. The
// input is the argument list (split at newlines) and a few switches of the
// fake. Checks: parsing keeps the last value of each option and refuses a
// hardware ID with blanks; install mode with a window sends exactly one
// message whatever happens; detection mode sends none; the library never
// gets a text beyond its mode's bound.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <vector>

#include "FuzzCheck.h"
#include "fakes/FakePrnSetupHost.h"
#include "inst2k/PrnSetup64.h"

using namespace inst2k;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  FakePrnSetupHost host;
  ScopedPort<IPrnSetupHost> port{host};
  ScopedPort<IModules> modules{host};
  host.Ansi = in.ConsumeBool() ? FakePrnSetupHost::AnsiPage::Latin1 : FakePrnSetupHost::AnsiPage::Utf8;
  FakeInst2kLibrary& lib = host.Library(host.CurrentDir + u"\\inst2k64.dll");
  lib.InstallResult = in.ConsumeIntegralInRange(-2, 3);
  lib.Throws = in.ConsumeProbability<float>() < 0.1f;
  if (in.ConsumeBool()) lib.Exports.erase(in.ConsumeBool() ? "FuncInst2K" : "ShowErrorCode");

  std::vector<TString> args;
  const TString all = text::FromUtf8(in.ConsumeRemainingBytesAsString());
  for (size_t pos = 0; pos <= all.size();) {
    size_t end = all.find(u'\n', pos);
    if (end == TString::npos) end = all.size();
    args.push_back(all.substr(pos, end - pos));
    pos = end + 1;
  }

  const TPrnSetup64Args a = ParsePrnSetup64Args(args);
  int hwidValues = 0;
  bool blank = false, afterHwid = false;
  for (const TString& arg : args) {
    if (!arg.empty() && arg[0] == u'/') {
      afterHwid = text::SameTextAscii(arg, u"/HWID");
      continue;
    }
    if (!afterHwid) continue;
    ++hwidValues;
    for (char16_t c : arg) blank = blank || c <= u' ';
  }
  FUZZ_CHECK((a.Refusal != 0) == (hwidValues > 1 || blank));

  FUZZ_CHECK(PrnSetup64Main(args) == 0);
  if (a.DetectionMode()) {
    FUZZ_CHECK(host.Messages.empty());
    FUZZ_CHECK(lib.Inf.size() <= kDetectionTextBytes && lib.HardwareId.size() <= kDetectionTextBytes);
  } else {
    FUZZ_CHECK(host.Messages.size() == (a.Handle != 0 ? 1u : 0u));
    FUZZ_CHECK(lib.Inf.size() <= kInstallTextBytes && lib.HardwareId.size() <= kInstallTextBytes);
    if (a.Refusal) FUZZ_CHECK(lib.Calls.empty());
    for (const auto& m : host.Messages)
      FUZZ_CHECK(m.Message == kMsgInstallFailed || (m.Message == kMsgInstallSucceeded && !a.Refusal));
  }
  FUZZ_CHECK(host.Loaded <= 1);
  return 0;
}
