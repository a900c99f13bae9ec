// What the installer hands the library (in its process) and the 64-bit host
// (its child) through the environment: the install record's file when the
// command line named one, and that no box may wait for a person. The
// installer sets or removes both at start, so an inherited value never
// counts.
#pragma once

#include "win32/WinApi.h"

#include "sysutil/Trace.h"
#include "win32/adapters/WinText.h"

inline constexpr wchar_t kRecordFileVariable[] = L"DRIVERSETUP_RECORD_FILE";
inline constexpr wchar_t kNoBoxesVariable[] = L"DRIVERSETUP_NO_BOXES";

inline TString EnvironmentValue(const wchar_t* name) {
  wchar_t buffer[1024];
  const DWORD n = ::GetEnvironmentVariableW(name, buffer, 1024);
  return n > 0 && n < 1024 ? T(buffer) : TString();
}

// The library and the host write to the installer's record file.
inline void TakeRecordFileFromInstaller() {
  const TString file = EnvironmentValue(kRecordFileVariable);
  if (!file.empty()) trace::SetRecordFile(file);
}

inline bool InstallerShowsNoBoxes() { return EnvironmentValue(kNoBoxesVariable) == u"1"; }
