// The package check: loads a driver package the way the installer does, with
// the installer's own readers and rules, and lists every problem a user would
// meet, each at the file and line to mend.
#pragma once

#include <vector>

#include "sysutil/Text.h"

namespace pkgcheck {

enum class TSeverity { Warning, Error };

struct TFinding {
  TString File;  // relative to the package folder, "/" separated
  int Line = 1;
  TSeverity Severity = TSeverity::Error;
  TString Model;  // the section of Setup.ini it concerns, empty for the package
  TString Text;   // what is wrong, what the installer does with it, how to mend it
};

struct TCheckResult {
  std::vector<TFinding> Findings;
  int Models = 0;
  int Count(TSeverity s) const;
  // 0 clean, 1 warnings only, 2 errors.
  int ExitCode() const;
};

// Checks the package in `folder` (a full Windows path; the folder that holds
// the installer). Reads through the file-system port and the program's own
// resources (the built-in strings files and logos).
TCheckResult CheckPackage(const TString& folder);

// "path:line: error: text" per finding, then the summary line.
TString FormatText(const TCheckResult& r);
// The same as one JSON object.
TString FormatJson(const TCheckResult& r);

// The command line of both front ends: [--json] ["<package folder>"]; the
// folder defaults to defaultFolder and a relative one is made full through
// the file-system port. Writes the report and returns the exit code (2 also
// for a command line it does not understand).
int RunCheckCommand(const std::vector<TString>& args, const TString& defaultFolder, TString& output);

}  // namespace pkgcheck
