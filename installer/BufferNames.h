// The names from the package that the driver buffer below Program Files is
// built from (TFormMain::BufferDriverFiles refuses the others).
#pragma once

#include "sysutil/Text.h"

// The manufacturer's and the model's name become one folder each.
bool IsBufferFolderName(const TString& name);
// The INF is named inside the model's driver folder: one or more plain names
// separated by a backslash or "/".
bool IsNameInsideFolder(const TString& name);
