// The package description loaded from any Setup.ini, in a package whose
// program folder holds one driver folder with its two INF files. Checks: the
// table lists every section; a load that stops names the section it stopped
// at; every complete model passed the checks; GetItem refuses every index
// outside the table and keeps the caller's record.
#include <cstdint>

#include "FuzzCheck.h"
#include "config/InstallInfos.h"
#include "fakes/ScopedMachine.h"
#include "sysutil/Exception.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  ScopedMachine m;
  m.sys.ModuleFile = u"C:\\Pkg\\DriverSetup.exe";
  m.fs.AddFile(u"C:\\Pkg\\DriverSetup.exe");
  m.fs.AddFile(u"C:\\Pkg\\Drivers\\A.inf");
  m.fs.AddFile(u"C:\\Pkg\\Drivers\\B.inf");
  m.fs.AddFile(u"C:\\Pkg\\Setup.ini", bytes);
  g_SysLangID = size > 0 && data[0] % 2 ? 0x0804 : 0x0409;

  TInstallInfos infos;
  TString message;
  bool raised = false;
  try {
    infos.LoadFromFile(u"C:\\Pkg\\Setup.ini");
  } catch (const Exception& e) {
    raised = true;
    message = e.Message();
  }
  TProfileFile ini;
  ini.Parse(bytes);
  const TStringList sections = ini.ReadSections();
  FUZZ_CHECK(infos.Count() == static_cast<int>(sections.size()));
  FUZZ_CHECK(infos.CompleteCount() <= infos.Count());
  FUZZ_CHECK(raised == (infos.CompleteCount() < infos.Count()));
  if (raised) {
    const TString& failed = sections[static_cast<size_t>(infos.CompleteCount())];
    FUZZ_CHECK(message.size() > failed.size() && message.compare(0, failed.size(), failed) == 0);
    FUZZ_CHECK(message[failed.size()] == u' ');
  }
  for (int i = 0; i < infos.CompleteCount(); ++i) {
    TRInstallInfo r;
    infos.GetItem(i, r);
    FUZZ_CHECK(!r.PrinterName.empty() && !r.PrinterHWID.empty() && !r.INF2K.empty() && !r.INFX64.empty());
    FUZZ_CHECK(r.PrinterName.size() <= TProfileFile::kMaxValueChars);
    FUZZ_CHECK(m.fs.DirectoryExists(r.DriverDir));
    FUZZ_CHECK(m.fs.FileExists(r.DriverDir + u"\\" + r.INF2K) && m.fs.FileExists(r.DriverDir + u"\\" + r.INFX64));
  }
  for (int index : {-1, infos.Count(), infos.Count() + 1}) {
    TRInstallInfo r;
    r.PrinterName = u"kept";
    bool refused = false;
    try {
      infos.GetItem(index, r);
    } catch (const Exception&) {
      refused = true;
    }
    FUZZ_CHECK(refused && r.PrinterName == u"kept");
  }
  return 0;
}
