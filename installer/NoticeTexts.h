// Texts of the refusals that keep the machine unchanged: read from the
// strings file's section "DialogText", with the English text when the file
// lacks the key. "%s" stands for the folder, file or text the notice names.
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
