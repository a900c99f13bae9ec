// The install record's file on the fake machine: files by path, a clock the
// test sets, and the processes that write.
#pragma once

#include <functional>
#include <map>
#include <utility>

#include "platform/IRecord.h"

class FakeRecord : public IRecordFile {
 public:
  TString Folder = u"C:\\Users\\me\\AppData\\Local\\Temp\\";
  std::map<TString, std::string> Files;
  TLocalTime Now{2026, 12, 10, 9, 5, 7, 42};
  std::uint32_t Pid = 4242;
  bool Keep = false;
  TString Kept;   // the path of the file kept open, empty when none is
  int Opens = 0;  // appends that opened the file

  bool RecordFolder(TString& folder) override {
    folder = Folder;
    return !Folder.empty();
  }
  std::uint64_t RecordSize(const TString& path) override {
    auto it = Files.find(path);
    return it == Files.end() ? 0 : it->second.size();
  }
  bool AppendRecord(const TString& path, const std::string& header, const std::string& bytes) override {
    if (Kept != path || !Files.count(path)) {  // a kept file moved or deleted is left
      Kept = Keep ? path : TString();
      ++Opens;
      auto [it, created] = Files.try_emplace(path);
      if (created) it->second = header;
    }
    Files[path] += bytes;
    return true;
  }
  void KeepOpen(bool keep) override {
    Keep = keep;
    if (!keep) Kept.clear();
  }
  bool ReplaceRecord(const TString& from, const TString& to) override {
    Kept.clear();
    auto it = Files.find(from);
    if (it == Files.end()) return false;
    Files[to] = std::move(it->second);
    Files.erase(from);
    return true;
  }
  std::map<THandle, TString> Locks;  // held
  std::function<void()> BeforeLock;  // another writer's steps just before a lock is asked for
  THandle LockRecord(const TString& path) override {
    if (BeforeLock) std::exchange(BeforeLock, nullptr)();
    for (const auto& held : Locks)
      if (held.second == path) return 0;
    return Locks.emplace(Locks.empty() ? 1 : Locks.rbegin()->first + 1, path).first->first;
  }
  void UnlockRecord(THandle lock) override { Locks.erase(lock); }
  TLocalTime LocalTime() override { return Now; }
  std::uint32_t ProcessId() override { return Pid; }

  // The record's text after its byte-order mark, empty when there is none.
  std::string Text() const {
    auto it = Files.find(Folder + u"DriverSetup.log");
    return it == Files.end() || it->second.size() < 3 ? std::string() : it->second.substr(3);
  }
};
