// An ordered list of texts, changed in place.
#pragma once

#include "base/Types.h"
