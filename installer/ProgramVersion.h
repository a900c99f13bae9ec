// The program's version, written here only: the C++ code (kProgramVersion)
// and the version resource (win32/installer/version.rc) both read it, so this
// file holds preprocessor definitions the resource compiler understands.
#ifndef DS_INSTALLER_PROGRAM_VERSION_H
#define DS_INSTALLER_PROGRAM_VERSION_H

#define DS_VERSION_MAJOR 1
#define DS_VERSION_MINOR 0
#define DS_VERSION_PATCH 0
#define DS_VERSION_BUILD 0

#define DS_VERSION_STRING_(v) #v
#define DS_VERSION_STRING(v) DS_VERSION_STRING_(v)
// "1.0.0.0": the four numbers joined by full stops.
#define DS_VERSION_TEXT DS_VERSION_STRING(DS_VERSION_MAJOR.DS_VERSION_MINOR.DS_VERSION_PATCH.DS_VERSION_BUILD)

#endif
