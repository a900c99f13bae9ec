// The shell: documents and links opened with the verb "open".
#pragma once

#include "platform/Port.h"

class IShell {
 public:
  virtual ~IShell() = default;
  // ShellExecuteW(owner, "open", file, no parameters, no folder, SW_SHOWNORMAL).
  virtual void ShellOpen(THandle ownerWindow, const TString& file) = 0;
};

inline IShell& Shell() { return PortSlot<IShell>::Get(); }
