// Texts of the refusals that keep the machine unchanged, in the user's
// language (LangText). "%s" stands for the folder, file or text named.
#pragma once

#include "sysutil/Text.h"

namespace notice {

// A folder of the driver buffer that cannot be replaced: files in it are in use.
TString FolderInUse(const TString& folder);
// A text that the system's code page for non-Unicode programs cannot hold.
TString TextNotInCodePage(const TString& text);
// A file or folder of the driver package that is not there.
TString PackageFileMissing(const TString& path);
TString PackageFolderMissing(const TString& path);

}  // namespace notice
