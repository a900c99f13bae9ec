// A profile (INI) file read by the platform's rules: UTF-16LE with a byte-order
// mark or the system ANSI code page; section and key names match without regard
// to letter case (ASCII folding); values are trimmed, one surrounding pair of
// quotes is removed, and text values are cut to 2047 characters. Lines starting
// with ";" and lines without "=" are ignored; for repeated names the first wins.
// The file is parsed once, when it is opened.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sysutil/StringList.h"
#include "sysutil/Text.h"

class TProfileFile {
 public:
  static constexpr size_t kMaxValueChars = 2047;

  TProfileFile() = default;
  // Reads the file through the file-system port; false when it cannot be read.
  bool Open(const TString& fileName);
  // Parses the bytes of a file (decoding as described above).
  void Parse(const std::string& bytes);
  const TString& FileName() const { return m_FileName; }

  // Section names in file order, duplicates kept.
  TStringList ReadSections() const;
  bool SectionExists(const TString& section) const;
  bool ValueExists(const TString& section, const TString& key) const;
  TString ReadString(const TString& section, const TString& key, const TString& def) const;
  // Decimal, "$" hexadecimal or "0x" hexadecimal; anything else yields def.
  std::int32_t ReadInteger(const TString& section, const TString& key, std::int32_t def) const;
  // An integer, 0 = false; a value that is no integer yields def.
  bool ReadBool(const TString& section, const TString& key, bool def) const;

 private:
  struct Entry {
    TString Key, Value;
  };
  struct Section {
    TString Name;
    std::vector<Entry> Entries;
  };
  const Entry* Find(const TString& section, const TString& key) const;

  TString m_FileName;
  std::vector<Section> m_Sections;
};

// Decodes the bytes of a text file: UTF-16LE/BE with BOM, UTF-8 with BOM, or
// the system ANSI code page.
TString DecodeTextFile(const std::string& bytes);
