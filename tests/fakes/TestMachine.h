// One fake Windows machine for a test: installs the fakes of the ports for the
// lifetime of the object.
#pragma once

#include "fakes/FakeFileSystem.h"
#include "fakes/FakeSystem.h"

struct TestMachine {
  FakeSystem sys;
  FakeFileSystem fs;
  ScopedPort<ISystem> sysPort{sys};
  ScopedPort<IFileSystem> fsPort{fs};
};

// UTF-16LE with BOM and CR LF, as the built-in strings files are stored.
std::string Utf16File(const TString& textWithLf);
