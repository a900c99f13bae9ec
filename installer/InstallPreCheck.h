// What an install needs checked before it creates, copies or deletes
// anything: the texts that cross the system's code page for non-Unicode
// programs convert exactly, and the model's driver folder and INF exist.
#pragma once

#include "config/InstallInfos.h"
#include "installer/UserDialogs.h"

// True when the install may go on; otherwise a box has named the text, the
// file or the port, and the install ends with nothing changed. A port given
// on the command line must exist.
bool InstallPreChecked(TUserDialogs& dialogs, const TRInstallInfo& model, bool wow64, const TString& manufacturer,
                       const TString& port = {});
