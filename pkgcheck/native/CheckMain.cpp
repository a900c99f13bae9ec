// driversetup-check [--json] ["<package folder>"]: the package check as a
// native command for the makers' build machines; the same report and exit
// code as "DriverSetup.exe /check". The folder defaults to the current one.
#include <cstdio>

#include "pkgcheck/PackageCheck.h"
#include "pkgcheck/native/PosixPorts.h"

extern const pkgcheck::TEmbeddedResource kEmbeddedResources[];
extern const size_t kEmbeddedResourceCount;

int main(int argc, char** argv) {
  using namespace pkgcheck;
  TPosixFileSystem fs;
  TPosixSystem sys(WindowsPathOf("/driversetup-check"));
  TEmbeddedResources res(kEmbeddedResources, kEmbeddedResourceCount);
  ScopedPort<IFileSystem> fsPort(fs);
  ScopedPort<ISystem> sysPort(sys);
  ScopedPort<IResources> resPort(res);
  std::vector<TString> args;
  for (int i = 1; i < argc; ++i) args.push_back(text::FromUtf8(argv[i]));
  TString output;
  const int code = RunCheckCommand(args, sys.GetCurrentDirectory(), output);
  const std::string bytes = text::ToUtf8(output);
  std::fwrite(bytes.data(), 1, bytes.size(), code == 2 && output.starts_with(u"usage") ? stderr : stdout);
  return code;
}
