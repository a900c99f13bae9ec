// The export bodies let no exception out: a device tree that runs out of
// memory (or fails otherwise) ends each call with its failure answer and the
// cause in the last error and the library's LastErrorCode.
#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>

#include "fakes/ScopedMachine.h"
#include "inst2k/Exports.h"
#include "inst2k/Inst2kState.h"
#include "platform/Inst2kApi.h"

using namespace inst2k;

namespace {

// Every Plug and Play call the exports begin with throws.
struct ThrowingTree : FakeDeviceTree {
  using FakeDeviceTree::FakeDeviceTree;
  std::function<void()> Throw = [] { throw std::bad_alloc(); };
  bool ClassGuidsFromName(const std::string&, std::uint32_t&) override { return Throw(), false; }
  bool UpdateDriverForPlugAndPlayDevices(THandle, const std::string&, const std::string&, std::uint32_t,
                                         bool&) override {
    return Throw(), false;
  }
  bool CopyOEMInf(const std::string&, const std::string&, char*, std::uint32_t, std::uint32_t&) override {
    return Throw(), false;
  }
  std::uint32_t LocateRootDevNode(std::uint32_t&) override { return Throw(), 0; }
};

struct ExportCase {
  const char* Name;
  std::function<bool()> AnswersFailure;  // calls the export
};

const ExportCase kExports[] = {
    {"FuncFindExistDevice", [] { return !ExportFuncFindExistDevice("ID", nullptr, nullptr); }},
    {"Inst2k_IsInlineDeviceExist",
     [] { return ExportInst2k_IsInlineDeviceExist(0, "ID", "C:\\a.inf", 0) == LastInstallErrorCode(); }},
    {"FuncInst2K", [] { return ExportFuncInst2K("C:\\a.inf", "ID", "LPT1:", 0) == kInstallFailed; }},
    {"Inst2k_RegistryInf", [] { return !ExportInst2k_RegistryInf("C:\\a.inf", "C:\\", nullptr, 0); }},
    {"RefreshHW", [] { return ExportRefreshHW(), true; }},
};

}  // namespace

TEST(Inst2kExports, AnExceptionEndsEachCallWithItsFailureAndTheCause) {
  for (const auto& [thrown, code] :
       {std::pair<std::function<void()>, std::uint32_t>{[] { throw std::bad_alloc(); }, kErrorNotEnoughMemory},
        {[] { throw std::runtime_error("x"); }, kErrorInternalError}}) {
    for (const ExportCase& e : kExports) {
      SCOPED_TRACE(e.Name);
      ScopedMachine m;
      m.libSys.AddFile("C:\\a.inf");
      ThrowingTree tree(m.libSys);
      tree.Throw = thrown;
      ScopedPort<IDeviceSetup> slot(tree);
      bool failed = false;
      EXPECT_NO_THROW(failed = e.AnswersFailure());
      EXPECT_TRUE(failed);
      EXPECT_EQ(LastInstallErrorCode(), code);
      EXPECT_EQ(m.libSys.GetLastError(), code);
    }
  }
}
