// An INF file read as the system's setup functions read it: sections, lines
// joined by a trailing backslash, comments after ";" outside quotes, values
// split at commas, quoted fields ("" stands for one quote), %token% replaced
// from [Strings] (and its language variants), %% for one percent sign;
// sections of the same name are one section. What it
// does not understand becomes a note, never a failure.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "sysutil/Text.h"

namespace pkgcheck {

// Folded names and what they index: the one map type of the check (each
// further one would add its own code to DriverSetup.exe).
using TNameIndex = std::map<TString, size_t>;

struct TInfLine {
  int Line = 0;         // first line of the file it came from, from 1
  bool HasKey = false;  // "key = fields"; otherwise the whole line is fields
  TString Key;          // tokens replaced, quotes removed, trimmed
  std::vector<TString> Fields;
};

struct TInfSection {
  TString Name;
  int Line = 0;
  std::vector<TInfLine> Lines;
};

struct TInfNote {
  int Line = 0;
  TString Text;
};

class TInfFile {
 public:
  void Parse(const std::string& bytes);

  const std::vector<TInfSection>& Sections() const { return m_Sections; }
  // The first section of the name (letter case of a..z ignored), or null.
  const TInfSection* Find(TStringView name) const;
  // The first line of the key in the section, or null.
  const TInfLine* FindKey(TStringView section, TStringView key) const;
  // The first field of the key's value, empty when absent.
  TString Value(TStringView section, TStringView key) const;
  // Sections named `name` or `name.decoration`, in file order.
  std::vector<const TInfSection*> WithDecorations(TStringView name) const;
  const std::vector<TInfNote>& Notes() const { return m_Notes; }

 private:
  TString Expand(TStringView raw, int line);
  std::vector<TInfSection> m_Sections;
  std::vector<TInfNote> m_Notes;
  TNameIndex m_Index;    // folded name -> section
  TNameIndex m_Strings;  // folded token -> index in m_StringValues
  std::vector<TString> m_StringValues;
};

}  // namespace pkgcheck
