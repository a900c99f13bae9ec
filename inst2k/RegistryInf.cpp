#include "inst2k/RegistryInf.h"

#include <string>

#include "inst2k/FindExistDevice.h"
#include "inst2k/IDeviceSetup.h"

namespace inst2k {

bool Inst2k_RegistryInf(const char* infPath, const char* sourceLocation, char* nameOut, std::uint32_t nameSize) {
  char dest[kOemNameChars] = {};
  std::uint32_t required = 0;
  const bool ok = DevSetup().CopyOEMInf(infPath ? infPath : "", sourceLocation ? sourceLocation : "", dest,
                                        kOemNameChars, required);
  dest[kOemNameChars - 1] = '\0';
  if (ok && nameOut && required < nameSize) CopyAnsiBounded(nameOut, nameSize, dest);
  return ok;
}

void RefreshHW() {
  IDeviceSetup& setup = DevSetup();
  std::uint32_t root = 0;
  if (setup.LocateRootDevNode(root) == kCrSuccess) setup.ReenumerateDevNode(root, 0);
}

}  // namespace inst2k
