// The fake Windows machine of the native tests: one state of files, registry,
// spooler, device tree, child programs, loadable modules and the print UI,
// each fake a view onto it. A ScopedMachine fills every port slot for its
// lifetime and puts the previous ports back at its end; it begins and ends
// with the program's globals as they are after loading.
//
// A test that needs a special stand-in for one port installs it with a
// ScopedPort on top of the machine.
#pragma once

#include <optional>

#include "fakes/FakeDeviceTree.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeInst2kSystem.h"
#include "fakes/FakeModules.h"
#include "fakes/FakePrintUI.h"
#include "fakes/FakePrnSetupHost.h"
#include "fakes/FakeRecord.h"
#include "fakes/FakeRegistry.h"
#include "fakes/FakeSpooler.h"
#include "fakes/FakeSystem.h"
#include "platform/IResources.h"
#include "platform/IShell.h"

// The program's own resources, by name.
class FakeResources : public IResources {
 public:
  std::map<TString, std::string> Data;
  bool LoadRCData(const TString& name, std::string& bytes) override;
};

// The shell: opened documents are recorded; deletes change the machine's files.
class FakeShell : public IShell {
 public:
  explicit FakeShell(FakeFileSystem& fs) : m_Fs(fs) {}
  std::vector<std::pair<THandle, TString>> Opened;
  std::optional<TString> ProgramFiles = u"C:\\Program Files (x86)";
  void ShellOpen(THandle owner, const TString& file) override { Opened.emplace_back(owner, file); }
  bool GetProgramFilesFolder(THandle, TString& path) override;
  int DeleteTree(THandle, const TString& folder) override;

 private:
  FakeFileSystem& m_Fs;
};

class ScopedMachine {
 public:
  ScopedMachine();
  ~ScopedMachine();
  ScopedMachine(const ScopedMachine&) = delete;
  ScopedMachine& operator=(const ScopedMachine&) = delete;

  // Makes `path` the device-install library built from its own sources: its
  // nine exports run the library's logic over the machine's device tree,
  // registry and files.
  void AddInst2kLibrary(const TString& path);

  // The installer's process and the machine it sees.
  FakeSystem sys;
  FakeFileSystem fs;
  FakeRegistry reg;
  FakeSpooler spooler;
  FakeShell shell{fs};
  FakeResources res;
  FakeModules modules;
  FakeThreads threads;
  FakeProcess procs;             // child programs by file name
  FakePrintUI printUI{spooler};  // the program "rundll32" among them
  // The device-install library in the installer's process: its files are the machine's.
  FakeInst2kSystem libSys{fs};
  FakeDeviceTree tree{libSys};
  // The 64-bit host's process; its libraries load through `host` (a host test
  // installs it in the modules slot).
  FakePrnSetupHost host;
  // The install record every program of the machine appends to.
  FakeRecord record;

 private:
  ScopedPort<ISystem> m_SysPort{sys};
  ScopedPort<IFileSystem> m_FsPort{fs};
  ScopedPort<IRegistry> m_RegPort{reg};
  ScopedPort<ISpooler> m_SpoolerPort{spooler};
  ScopedPort<IShell> m_ShellPort{shell};
  ScopedPort<IResources> m_ResPort{res};
  ScopedPort<IModules> m_ModulesPort{modules};
  ScopedPort<IThreads> m_ThreadsPort{threads};
  ScopedPort<IProcess> m_ProcPort{procs};
  ScopedPort<inst2k::IInst2kSystem> m_LibSysPort{libSys};
  ScopedPort<inst2k::IDeviceSetup> m_TreePort{tree};
  ScopedPort<inst2k::IPrnSetupHost> m_HostPort{host};
  ScopedPort<IRecordFile> m_RecordPort{record};
};

// UTF-16LE with BOM and CR LF, as the built-in strings files are stored.
std::string Utf16File(const TString& textWithLf);
