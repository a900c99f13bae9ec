// Resources of the program's own module.
#pragma once

#include <string>

#include "platform/Port.h"

class IResources {
 public:
  virtual ~IResources() = default;
  // An RCDATA (type 10) resource by name, byte for byte.
  virtual bool LoadRCData(const TString& name, std::string& bytes) = 0;
};

inline IResources& Res() { return PortSlot<IResources>::Get(); }
