// The brands' logos: bitmap files stored packed as resources of the program.
#pragma once

#include "win32/WinApi.h"

#include "base/Types.h"

// The logo resource `resourceName` as a bitmap the caller deletes; null when
// it is missing, damaged or not an uncompressed bitmap.
HBITMAP LoadLogoBitmap(const TString& resourceName);
