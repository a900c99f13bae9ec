// The install record's file, DriverSetup.log in the user's temporary folder:
// the installer, the device-install library and the 64-bit host append to
// the same file, each append opening it with full sharing, so concurrent
// writers each add whole lines.
//
// For lines written in a row (the program's start) the file may stay open
// between appends: each line is still one write at the file's end, in the
// file when its append returns.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Port.h"

struct TLocalTime {
  std::uint16_t Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0, Milliseconds = 0;
};

class IRecordFile {
 public:
  virtual ~IRecordFile() = default;

  // The user's temporary folder (GetTempPathW), with a trailing backslash.
  virtual bool RecordFolder(TString& folder) = 0;
  // The file's size in bytes; 0 when it does not exist.
  virtual std::uint64_t RecordSize(const TString& path) = 0;
  // Opens the file for appending with read, write and delete sharing (created
  // when missing; `header` is written first by the call that created it) and
  // appends `bytes` in one write.
  virtual bool AppendRecord(const TString& path, const std::string& header, const std::string& bytes) = 0;
  // Keeps the file of the next append open for the appends after it, or
  // (false) closes it. A kept file that is no longer the one at its path
  // (renamed or deleted by another program) is left, and the path opened
  // again; ReplaceRecord closes a kept file before it moves it.
  virtual void KeepOpen(bool keep) = 0;
  // MoveFileExW with MOVEFILE_REPLACE_EXISTING.
  virtual bool ReplaceRecord(const TString& from, const TString& to) = 0;
  // Opens the file `path` with no sharing as a lock between the writers
  // (created when missing, deleted when closed); 0 while another holds it.
  virtual THandle LockRecord(const TString& path) = 0;
  virtual void UnlockRecord(THandle lock) = 0;
  virtual TLocalTime LocalTime() = 0;
  virtual std::uint32_t ProcessId() = 0;
};

inline IRecordFile* RecordPort() { return PortSlot<IRecordFile>::Peek(); }
