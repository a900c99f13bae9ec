// What an install needs checked before it creates, copies or deletes
// anything: the texts that cross the system's code page for non-Unicode
// programs convert exactly, and the model's driver folder and INF exist.
#pragma once

#include "config/InstallInfos.h"
#include "installer/MainView.h"

// True when the install may go on; otherwise a box has named the text or the
// file, and the install ends with nothing changed.
bool InstallPreChecked(IMainView& view, const TRInstallInfo& model, bool wow64, const TString& manufacturer);
