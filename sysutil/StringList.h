// An ordered list of texts, changed in place.
#pragma once

#include <vector>

#include "sysutil/Text.h"

using TStringList = std::vector<TString>;
