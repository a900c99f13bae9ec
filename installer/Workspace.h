// The installer's private temporary workspace.
#pragma once

#include "sysutil/Text.h"

namespace workspace {

// Reserves a unique name tmpXXXX.tmp in the temporary folder and creates the
// workspace tmpXXXX beside it as a new folder; once the folder exists it holds
// the name and the reservation file is deleted. A name whose folder is already
// there (a running installer that deleted its reservation) is passed over.
// Empty when no name is given or no folder can be created.
TString CreateUnique(const TString& tempPath);

// Creates the folder and any missing parents; false when it cannot.
bool ForceDirectories(const TString& path);

// Deletes the folder and everything below it, deepest first, resetting
// attributes to normal. Links and junctions are removed as links, never
// followed, so nothing outside the folder is touched. What cannot be deleted
// is skipped silently.
void DeleteTree(const TString& path);

}  // namespace workspace
