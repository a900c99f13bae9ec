// Windows path helpers (backslash separated, drive-letter or UNC paths).
#pragma once

#include "sysutil/Text.h"

namespace paths {

// "C:\dir\file.ext" -> "C:\dir\" (with the trailing backslash).
TString ExtractFilePath(TStringView path);
// "C:\dir\file.ext" -> "C:\dir" ("C:\" stays "C:\").
TString ExtractFileDir(TStringView path);
// "C:\dir\file.ext" -> "file.ext".
TString ExtractFileName(TStringView path);
// "C:\dir\file.ext" -> "C:\dir\file" (only the last extension of the file name).
TString RemoveFileExt(TStringView path);
TString IncludeTrailingBackslash(TStringView path);
// A full path: relative names are resolved against the process's current
// directory (through the file-system port).
TString ExpandFileName(const TString& path);
// The path with "/" as "\", repeated separators merged and "." and ".."
// segments resolved; empty when ".." would climb above the start.
TString Normalize(TStringView path);
// path names folder itself or something below it (letter case of a..z
// ignored), once both are normalized; false when either is empty.
bool IsBelow(TStringView path, TStringView folder);

}  // namespace paths
