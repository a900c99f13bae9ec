// The shell: documents and links opened with the verb "open".
#pragma once

#include "platform/Port.h"

class IShell {
 public:
  virtual ~IShell() = default;
  // ShellExecuteW(owner, "open", file, no parameters, no folder, SW_SHOWNORMAL).
  virtual void ShellOpen(THandle ownerWindow, const TString& file) = 0;
  // SHGetSpecialFolderPathW(owner, CSIDL_PROGRAM_FILES, not created).
  virtual bool GetProgramFilesFolder(THandle ownerWindow, TString& path) = 0;
  // SHFileOperationW FO_DELETE of a folder tree with no confirmation, progress
  // or error display (0x0414) and no recycle bin. 0 on success.
  virtual int DeleteTree(THandle ownerWindow, const TString& folder) = 0;
};

inline IShell& ShellPort() { return PortSlot<IShell>::Get(); }
