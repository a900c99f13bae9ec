// Error reporting after a failed system call, and the library's string table.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "platform/Port.h"

namespace inst2k {

// Ids of the library's string table (English and Chinese (Simplified)).
inline constexpr std::uint32_t kIdsFailWithMessage = 1;  // "%s fail: %s\n"
inline constexpr std::uint32_t kIdsFailWithCode = 2;     // "%s fail: (0x%08X)\n"
inline constexpr std::uint32_t kIdsErrorCaption = 3;     // "Error"
inline constexpr std::uint32_t kIdsInfNotFound = 4;      // "Can not find the INF file!"

inline constexpr std::uint32_t kSystemMessageChars = 200;
inline constexpr std::uint32_t kStringTableChars = 260;

// A string-table text, loaded from the library's own module.
std::string LoadLibString(std::uint32_t id);

// Fills a string-table pattern with the program's formatter (text::Format):
// %s takes the next text, %X / %x / %u / %d (with flags, width and
// precision) the next number, %% is a percent sign. Missing arguments count
// as empty or 0, so a translated pattern can never read past what it was
// given.
using TFormatArg = std::variant<std::string, std::uint32_t>;
std::string FormatLibText(const std::string& pattern, const std::vector<TFormatArg>& args);

// Records the thread's last error as the library's LastErrorCode, shows the
// error box when error boxes are on (owner: the given window, else the
// library's OwnerWindow), restores the last error and returns it.
std::uint32_t ReportInstallError(const std::string& context, THandle owner = 0);

}  // namespace inst2k
