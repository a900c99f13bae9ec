// The device-install library's kernel and user services, in memory: last
// error, message texts, the library's string table, recorded boxes and
// debugger output; file attributes come from the machine's file system.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "fakes/FakeFileSystem.h"
#include "inst2k/IInst2kSystem.h"

class FakeInst2kSystem : public inst2k::IInst2kSystem {
 public:
  explicit FakeInst2kSystem(FakeFileSystem& files) : m_Files(files) {}

  struct Box {
    THandle Owner;
    std::string Text, Caption;
    std::uint32_t Style;
  };

  std::map<std::uint32_t, std::string> SystemMessages = {{2, "The system cannot find the file specified."}};
  std::map<std::uint32_t, std::string> Strings = {
      {1, "%s fail: %s\n"}, {2, "%s fail: (0x%08X)\n"}, {3, "Error"}, {4, "Can not find the INF file!"}};
  std::vector<Box> Boxes;
  std::vector<std::string> DebugOutput;
  std::string CurrentDir = "C:\\Work";
  std::set<std::uint8_t> LeadBytes;  // none: a single-byte code page
  THandle LoadedFromModule = 0;

  // Adds to the machine's files (ANSI bytes taken one by one as characters).
  void AddFile(const std::string& fullPath) { m_Files.AddFile(Wide(fullPath)); }
  void AddFolder(const std::string& fullPath) { m_Files.AddDir(Wide(fullPath)); }

  std::uint32_t GetLastError() override { return m_LastError; }
  void SetLastError(std::uint32_t code) override { m_LastError = code; }
  bool FormatSystemMessage(std::uint32_t code, std::uint32_t maxChars, std::string& text) override;
  std::string LoadString(THandle module, std::uint32_t id, std::uint32_t maxChars, std::uint16_t language) override;
  std::uint16_t GetSystemDefaultLangID() override { return LangID; }
  std::uint16_t LangID = 0x0409;
  std::uint16_t LastStringLanguage = 0;
  void MessageBox(THandle owner, const std::string& text, const std::string& caption, std::uint32_t style) override {
    Boxes.push_back({owner, text, caption, style});
  }
  void OutputDebugString(const std::string& text) override { DebugOutput.push_back(text); }
  TString AnsiToWide(const std::string& text) override { return Wide(text); }
  std::uint32_t GetFileAttributes(const std::string& path) override;
  bool GetFullPathName(const std::string& path, std::string& fullPath) override;
  bool IsLeadByte(std::uint8_t byte) override { return LeadBytes.count(byte) != 0; }

  static std::string Fold(const std::string& s);
  static TString Wide(const std::string& s);

 private:
  std::uint32_t m_LastError = 0;
  FakeFileSystem& m_Files;
};
