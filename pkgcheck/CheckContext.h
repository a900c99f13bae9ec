// What the parts of the package check share: the package folder, the findings
// so far, and line numbers of what the profile reader parsed.
#pragma once

#include <initializer_list>
#include <memory>
#include <vector>

#include "pkgcheck/InfFile.h"
#include "pkgcheck/PackageCheck.h"
#include "sysutil/ProfileFile.h"

namespace pkgcheck {

// Line numbers of a text: CR LF, CR or LF end a line.
class TLineIndex {
 public:
  explicit TLineIndex(TStringView text);
  // The line (from 1) that holds the character at `offset`.
  int LineOf(size_t offset) const;

 private:
  std::vector<size_t> m_Starts;
};

// A profile file with the line numbers of its names.
class TLinedProfile {
 public:
  explicit TLinedProfile(const std::string& bytes);
  const TProfileFile& Ini() const { return m_Ini; }
  // The line of the key the reader uses (the first in the first section of
  // the name); the section's header line when the key is missing; 1 when
  // the section is missing.
  int KeyLine(TStringView section, TStringView key) const;
  int SectionLine(TStringView section) const;
  int LineOf(TStringView inside) const;

 private:
  const TProfileFile::TSection* Section(TStringView name) const;
  TProfileFile m_Ini;
  TLineIndex m_Lines;
  TNameIndex m_Sections;  // folded name -> the first listed section of it
};

struct TContext {
  TString Folder;  // full path of the package folder, no trailing backslash
  TCheckResult Result;
  TNameIndex Seen;  // keys of findings that are reported once
  // Each INF file read once: as the setup functions and as the installer read it.
  struct TInfRead {
    TInfFile Inf;
    std::unique_ptr<TLinedProfile> Profile;
    bool Include = false;  // Include or LayoutFile: files may come from another INF
    // The source-disk sections for 32-bit [0] and 64-bit [1] Windows.
    std::vector<const TInfSection*> DiskFiles[2], DiskNames[2];
  };
  std::vector<std::unique_ptr<TInfRead>> Infs;
  TNameIndex InfIndex;  // folded path -> Infs

  TString Rel(const TString& path) const;
  // Adds a finding of `model` (a section of Setup.ini, or empty) whose text is
  // `label`, ": " (when there is a label) and `fmt` formatted by Msg.
  void Add(const TString& path, int line, TSeverity severity, TStringView model, TStringView label, const char* fmt,
           std::initializer_list<TStringView> args = {});
  // Reports only the first time `key` is seen.
  bool Once(const TString& key) { return Seen.emplace(key, 0).second; }
};

// What the INF check needs of a model of Setup.ini.
struct TModelRef {
  TString SetupIni;  // full path
  const TLinedProfile* Profile = nullptr;
  TString Section;
  TString Label;  // "model \"name\"" for the texts
  TString PrinterName;
  TString PrinterHWID;
  TString MustUninstallForGDP;
  TString DriverDir;  // full path
};

// The INF named by INF.2K (x64 false) or INF.X64 (x64 true) and the driver
// files and data file it names.
void CheckModelInf(TContext& c, const TModelRef& m, const TString& infName, bool x64);

// A finding's text: `fmt` (ASCII) with each "%s" replaced by the next argument.
TString Msg(const char* fmt, std::initializer_list<TStringView> args = {});

// "U+4E2D "中"" for the texts.
TString DescribeChar(char16_t ch);

}  // namespace pkgcheck
