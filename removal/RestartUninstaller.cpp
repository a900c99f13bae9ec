// The package's uninstaller, scheduled for the next start of Windows when a
// driver could not be removed while Windows runs.
#include "platform/IFileSystem.h"
#include "platform/IRegistry.h"
#include "platform/ISystem.h"
#include "removal/UnInstallFunc.h"
#include "sysutil/MyUtils.h"
#include "sysutil/Paths.h"

bool ScheduleUninstaller(const TString& uninstaller, const TString& driverName) {
  // The copy outlives the package folder; one that is already there stays.
  TString temp;
  if (!Sys().GetTempPathLong(temp)) return false;
  const TString copy = paths::IncludeTrailingBackslash(temp) + paths::ExtractFileName(uninstaller);
  if (!Fs().FileExists(copy)) {
    std::string bytes;
    if (!Fs().ReadFile(uninstaller, bytes) || !Fs().WriteFile(copy, bytes)) return false;
  }
  // Quoted: the temporary folder may hold blanks, and an unquoted head would
  // let Windows start a shorter program path, elevated, at the next start.
  const TString command = u"\"" + copy + u"\" /Driver \"" + driverName + u"\"";

  TRegKey runOnce;
  if (!runOnce.Open(IsWow64() ? u"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\RunOnce\\"
                              : u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce\\"))
    return false;
  std::vector<TRegValue> values;
  Reg().ListValues(runOnce.Get(), values);
  for (const TRegValue& v : values)
    if ((v.Type == IRegistry::kRegSz || v.Type == IRegistry::kRegExpandSz) && v.Text == command) return true;
  runOnce.Close();

  TRegKey target;
  return target.Create(u"\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce") &&
         Reg().WriteText(target.Get(), paths::ExtractFileName(uninstaller) + Sys().LocalTimeText(), command);
}
