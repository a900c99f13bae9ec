// The trace facade: every routine reports its steps here, and the steps go to
// the install record (DriverSetup.log in the user's temporary folder, through
// the record port) that support reads. One line per event: local date and
// time with milliseconds, the writing program and its process, the kind of
// event, the text. The record is UTF-8 with a byte-order mark; a file of
// kRotateBytes or more becomes DriverSetup.log.1 (replacing the older one)
// before the next line is written, by one writer at a time. Without a record port nothing is written,
// and writing never fails a caller.
//
// The record holds what the program did and what the system answered: no
// environment, no contents of the user's files.
#pragma once

#include <cstdint>
#include <vector>

#include "sysutil/Text.h"

namespace trace {

inline constexpr std::uint64_t kRotateBytes = 1024 * 1024;
inline constexpr char16_t kRecordName[] = u"DriverSetup.log";
inline constexpr char16_t kOldRecordSuffix[] = u".1";
inline constexpr char16_t kRecordLockSuffix[] = u".lock";

// The program written on every line ("DriverSetup", "PrnSetup64", "inst2k").
void SetProgram(TStringView name);

void Enter(TStringView routine);
void Leave(TStringView routine);
void Msg(TStringView text);
void Warn(TStringView text);
void Error(TStringView text);
void Fmt(TStringView pattern, const std::vector<text::FormatArg>& args);
// A call of the system, the library or the host: what was called, its code,
// and the system's text for the code (a warning unless the code is 0).
void Call(TStringView what, std::uint32_t code, TStringView systemText);

// The record's full path; empty when there is no record.
TString RecordPath();
// The record goes to this file (a full path) instead of the temporary folder.
void SetRecordFile(const TString& path);

// While a holder lives, the record port keeps the record open between lines
// (the start writes several in a row); every line is written whole when it
// is reported, as always. Holders nest.
class THold {
 public:
  THold();
  ~THold();
  THold(const THold&) = delete;
  THold& operator=(const THold&) = delete;
};

}  // namespace trace
