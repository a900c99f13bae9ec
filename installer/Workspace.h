// The installer's private temporary workspace.
#pragma once

#include "sysutil/Text.h"

namespace workspace {

// Creates the folder and any missing parents; false when it cannot.
bool ForceDirectories(const TString& path);

// Deletes the folder and everything below it, deepest first, resetting
// attributes to normal. Links and junctions are removed as links, never
// followed, so nothing outside the folder is touched. What cannot be deleted
// is skipped silently.
void DeleteTree(const TString& path);

}  // namespace workspace
