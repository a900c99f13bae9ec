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
// directory (through the file-system port); a path the system cannot
// resolve stays as given.
TString ExpandFileName(const TString& path);
// The path with "/" as "\", repeated separators merged and "." and ".."
// segments resolved; empty when ".." would climb above the start.
TString Normalize(TStringView path);
// path names folder itself or something below it (letter case of a..z
// ignored), once both are normalized; false when either is empty.
bool IsBelow(TStringView path, TStringView folder);

// The drive of a full path: "C:" or "\\server\share" (empty for other paths).
TString DriveOf(TStringView path);
// Both paths lie on the same drive (letter case of a..z ignored).
bool SameDrive(TStringView a, TStringView b);
// A path made full by the rules of GetFullPathNameW against a current
// directory (itself a full path): drive-relative "C:x", rooted "\x" and
// relative names; "." and ".." resolved, never above the drive's root.
TString FullPath(TStringView path, TStringView currentDir);
// `path` (full) written relative to `baseFolder` (full, a folder) with ".."
// steps; a path on another drive stays as it is.
TString RelativePath(TStringView baseFolder, TStringView path);
// A name usable as one folder name: not empty, not "." or "..", no path
// separator, drive colon, wildcard or other character Windows refuses in a
// file name, no trailing dot or blank, and no reserved device name (CON,
// PRN, AUX, NUL, COM1-9, LPT1-9, also with an extension).
bool IsPlainFileName(TStringView name);

}  // namespace paths
