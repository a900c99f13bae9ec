// The base types every layer shares: UTF-16 text, ordered text lists and the
// kernel handle value the ports pass around. Nothing here knows Windows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using TString = std::u16string;
using TStringView = std::u16string_view;
// An ordered list of texts, changed in place.
using TStringList = std::vector<TString>;
// A kernel handle as the adapters see it; 0 = none.
using THandle = std::uintptr_t;
