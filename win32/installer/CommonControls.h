// The common controls library (version 6, which the manifest names) loaded
// at run time, after the library search is restricted to the system folder:
// a static import would be resolved at start, together with its own
// dependencies, from wherever the installer lies.
#pragma once

#include "win32/WinApi.h"

#include <commctrl.h>

#include "win32/SystemLibrary.h"

namespace win {

struct CommonControlsApi {
  decltype(&::InitCommonControlsEx) InitCommonControlsEx = nullptr;
  decltype(&::ImageList_Create) ImageList_Create = nullptr;
  decltype(&::ImageList_Destroy) ImageList_Destroy = nullptr;
  decltype(&::ImageList_ReplaceIcon) ImageList_ReplaceIcon = nullptr;
};

// Loaded at the first use and kept for the program's life; an entry the
// library lacks stays null.
inline const CommonControlsApi& CommonControls() {
  static const CommonControlsApi api = [] {
    CommonControlsApi a;
    HMODULE m = LoadSystemLibrary(L"comctl32.dll");
    a.InitCommonControlsEx = Proc<decltype(a.InitCommonControlsEx)>(m, "InitCommonControlsEx");
    a.ImageList_Create = Proc<decltype(a.ImageList_Create)>(m, "ImageList_Create");
    a.ImageList_Destroy = Proc<decltype(a.ImageList_Destroy)>(m, "ImageList_Destroy");
    a.ImageList_ReplaceIcon = Proc<decltype(a.ImageList_ReplaceIcon)>(m, "ImageList_ReplaceIcon");
    return a;
  }();
  return api;
}

}  // namespace win
