// Small stateless routines of the installer: system facts, privileges and
// restart, string-list operations and the command runner.
#pragma once

#include <cstdint>

#include "sysutil/StringList.h"
#include "sysutil/Text.h"

// Windows version number, major * 10 + minor (51 = XP, 60 = Vista, 61 = 7).
int GetWindowsVersion();
// prefix + "CN", "CHT" or "EN" from the system default language.
TString GetSystemLangCode(const TString& prefix);
// The 32-bit installer runs on 64-bit Windows.
bool IsWow64();

// Raises Exception with the system's text when the last error is not 0.
bool EnablePrivilege(const TString& name, bool enable);
bool RestartWindows();

// Deletes, from the last to the first, every entry whose ASCII upper-case form
// does not begin with that of prefix.
void KeepStringsStartingWith(TStringList& list, const TString& prefix);
// Deletes every entry of list that equals (ASCII case-insensitive) an entry of other.
void SubtractStrings(TStringList& list, const TStringList& other);

// Runs commandLine hidden, collects its standard output into `output` and
// returns when the child has ended: -1 no pipe, -2 not started, 0 no output
// read, 1 output read.
// exitCode, when given, receives the child's exit code (left alone when the
// child did not run or its code cannot be read).
int RunCMD(const TString& commandLine, TStringList& output, std::uint32_t* exitCode = nullptr);

// The longest command line CreateProcessW accepts (without the terminating zero).
constexpr size_t kMaxCommandLineChars = 32766;
