// One fake machine for the device-install library's tests: its system, device
// tree and registry installed in the library's port slots, and the library's
// module state fresh as after loading.
#pragma once

#include "fakes/FakeDeviceRegistry.h"
#include "fakes/FakeDeviceTree.h"
#include "fakes/FakeInst2kSystem.h"
#include "inst2k/Inst2kState.h"

struct Inst2kMachine {
  FakeInst2kSystem sys;
  FakeDeviceTree tree{sys};
  FakeDeviceRegistry registry;
  ScopedPort<inst2k::IInst2kSystem> sysPort{sys};
  ScopedPort<inst2k::IDeviceSetup> treePort{tree};
  ScopedPort<inst2k::IDeviceRegistry> registryPort{registry};

  Inst2kMachine() {
    inst2k::ModuleState() = {};
    inst2k::OnLibraryAttach(0x10000000);
  }
  ~Inst2kMachine() { inst2k::ModuleState() = {}; }
};
