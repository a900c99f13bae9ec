// A profile (INI) file read by the platform's rules: UTF-16LE with a byte-order
// mark or the system ANSI code page; section and key names match without regard
// to letter case (ASCII folding); names and values are trimmed of white space
// (blank, tab, line feed, vertical tab, form feed, carriage return and the DOS
// end-of-file mark ^Z, nothing else); a NUL ends a name or a value; one
// surrounding pair of quotes is removed from a value, and text values are cut
// to 2047 characters.
//
// Lines: CR, LF or CR LF end a line. "[name]" starts a section whose name runs
// to the last "]" of the line; a header whose name is empty ("[]", "[  ]")
// starts a section nobody can reach, so the lines below it up to the next
// header are lost, as they are to the platform. Any other line is a key: the
// text before the first "=" is its name, the rest its value; a line without
// "=" is a key without a value (a lookup of it yields the default); a line
// starting with "=" is a key with an empty name. Lines before the first
// header belong to a nameless section. Lines starting with ";" are keys like
// any other, which no caller asks for.
//
// Repeated names: the first section of a name is the one that counts (a later
// section of the same name is listed but never read), and within it the first
// key of a name. The file is parsed once, when it is opened, and sections and
// keys are indexed by their folded names, so a lookup does not grow with the
// size of the file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sysutil/StringList.h"
#include "sysutil/Text.h"

class TProfileFile {
 public:
  static constexpr size_t kMaxValueChars = 2047;

  // Names and values point into the decoded text of the file, which the
  // object (and every copy of it) keeps unchanged.
  struct TEntry {
    TStringView Name;
    TStringView Value;  // without the surrounding quotes
    bool HasValue = false;
  };
  struct TSection {
    TStringView Name;
    bool Listed = true;  // false for the nameless part before the first header
    std::vector<TEntry> Entries;
  };

  TProfileFile() = default;
  // Reads the file through the file-system port; false when it cannot be read.
  bool Open(const TString& fileName);
  // Parses the bytes of a file (decoding as described above).
  void Parse(const std::string& bytes);
  const TString& FileName() const { return m_FileName; }
  // The decoded text every name and value points into (empty before a parse).
  TStringView Text() const { return m_Text ? TStringView(*m_Text) : TStringView(); }

  // Section names in file order, duplicates kept.
  TStringList ReadSections() const;
  bool SectionExists(TStringView section) const;
  bool ValueExists(TStringView section, TStringView key) const;
  TString ReadString(TStringView section, TStringView key, TStringView def) const;
  // Decimal, "$" hexadecimal or "0x" hexadecimal; anything else yields def.
  std::int32_t ReadInteger(TStringView section, TStringView key, std::int32_t def) const;
  // An integer, 0 = false; a value that is no integer yields def.
  bool ReadBool(TStringView section, TStringView key, bool def) const;

  // What was parsed, in file order (the nameless part first).
  const std::vector<TSection>& Sections() const { return m_Sections; }

 private:
  static constexpr std::uint32_t kNone = 0xFFFFFFFF;
  // A slot of an index: the hash of a folded name and the section or entry
  // it names (kNone: free). Open addressing with linear probing: one table
  // for the sections, and one small table per section for its keys, so the
  // keys asked for one after another in one section stay close together.
  struct TSlot {
    std::uint32_t Hash = 0;
    std::uint32_t Index = kNone;
  };
  struct TKeyTable {
    std::uint32_t Start = 0, Mask = 0;  // in m_KeySlots
  };

  std::uint32_t FindSection(TStringView name) const;
  const TEntry* Find(TStringView section, TStringView key) const;
  void Index();

  TString m_FileName;
  std::shared_ptr<const TString> m_Text;
  std::vector<TSection> m_Sections;
  std::vector<TSlot> m_SectionSlots;
  std::vector<TKeyTable> m_KeyTables;  // per section; empty tables for later duplicates
  std::vector<TSlot> m_KeySlots;
};

// Decodes the bytes of a text file: UTF-16LE/BE with BOM, UTF-8 with BOM, or
// the system ANSI code page.
TString DecodeTextFile(const std::string& bytes);
