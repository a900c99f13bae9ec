// The package as the installer loads it: the built-in strings files with
// their OEM row, the package description and each model's fields. The INF
// files of a model are checked in InfCheck.cpp.

#include "config/LangStrings.h"
#include "installer/BufferNames.h"
#include "installer/PackedData.h"
#include "pkgcheck/CheckContext.h"
#include "pkgcheck/CodePages.h"
#include "pkgcheck/Guarded.h"
#include "platform/IFileSystem.h"
#include "platform/IResources.h"
#include "removal/UnInstallFunc.h"
#include "sysutil/Paths.h"

namespace pkgcheck {

namespace {

// The three languages of the installer: the suffix of Setup.ini's texts, the
// built-in strings file and the ANSI code page of such a system.
struct TLanguage {
  const char16_t* Suffix;
  const char16_t* Resource;
  const char16_t* File;
  int CodePage;
  const char16_t* Name;
};
constexpr TLanguage kLanguages[] = {
    {u"EN", u"RC_STRINGS_INI_EN", u"Strings_EN.ini", 1252, u"English"},
    {u"SC", u"RC_STRINGS_INI_CN", u"Strings_CN.ini", 936, u"Simplified Chinese"},
    {u"TC", u"RC_STRINGS_INI_CHT", u"Strings_CHT.ini", 950, u"Traditional Chinese"},
};

// What one built-in strings file gives the installer.
struct TBranding {
  bool Loaded = false;
  TString SetupIni;
  TString Manufacturer;
};

// The strings file of one language, read through the installer's own reader
// into its globals (put back afterwards).
TBranding LoadBranding(TContext& c, const TLanguage& lang) {
  TBranding b;
  std::string bytes;
  const TString file = c.Folder + u"\\<built-in>\\" + lang.File;
  if (!Res().LoadRCData(lang.Resource, bytes)) {
    c.Add(file, 1, TSeverity::Error, {}, {},
          "the program carries no strings file for %s: on such a system the installer shows no texts and finds "
          "no package description. Fix: build the installer with all three strings files.",
          {lang.Name});
    return b;
  }
  // The installer carries it packed; the native check carries it as it is.
  std::string text;
  if (packed::IsPacked(bytes) && !packed::Unpack(bytes, text)) {
    c.Add(file, 1, TSeverity::Error, {}, {},
          "the program's strings file for %s is damaged: the installer stops at its start. Fix: build the "
          "installer again.",
          {lang.Name});
    return b;
  }
  TLinedProfile lined(packed::IsPacked(bytes) ? text : bytes);
  TLangOptions saved = std::move(g_LangOptions);
  strInstaller s;
  std::swap(s, g_strInstaller);  // the program's record aside, a fresh one loaded
  g_LangOptions = TLangOptions();
  g_LangOptions.LoadFromProfile(std::make_unique<TProfileFile>(lined.Ini()));
  std::swap(s, g_strInstaller);  // the loaded record in s, the program's back
  b.Loaded = true;
  b.SetupIni = g_LangOptions.GetOptionString(u"Settings", u"SetupIni", u"Setup.Ini");
  b.Manufacturer = s.OEMManufactor;
  g_LangOptions = std::move(saved);

  const TString n = text::IntToStr(s.CompanyIndex);
  if (!lined.Ini().ValueExists(u"OEMCOmpany", u"Logo." + n)) {
    c.Add(file, lined.KeyLine(u"Settings", u"OEMCOmpanyIndex"), TSeverity::Warning, {}, {},
          "OEM row %s (OEMCOmpanyIndex) has no Logo.%s: the installer shows the maker's own logo %s for this "
          "brand. Fix: add Logo.%s with the name of the brand's logo.",
          {n, n, s.OEMBMLogo, n});
  }
  std::string logo;
  if (!Res().LoadRCData(s.OEMBMLogo, logo)) {
    c.Add(file, lined.KeyLine(u"OEMCOmpany", u"Logo." + n), TSeverity::Error, {}, {},
          "OEM row %s names the logo \"%s\", which the program does not carry: the installer shows no logo. "
          "Fix: add the bitmap to resources/logos (its name in lower case) or name a logo that is there.",
          {n, s.OEMBMLogo});
  }
  const int nameLine = lined.KeyLine(u"OEMCOmpany", u"Name." + n);
  if (!s.OEMManufactor.empty() && !IsBufferFolderName(s.OEMManufactor)) {
    c.Add(file, nameLine, TSeverity::Error, {}, {},
          "OEM row %s names the manufacturer \"%s\", which cannot be a folder name: the installer refuses "
          "every install (\"cannot be used as a folder name for the driver files\"). Fix: use a name without "
          "\\ / : * ? \" < > | and without a trailing dot or blank.",
          {n, s.OEMManufactor});
  } else if (const char16_t bad = FirstMisfit(s.OEMManufactor, lang.CodePage)) {
    c.Add(file, nameLine, TSeverity::Error, {}, {},
          "OEM row %s names the manufacturer \"%s\", whose character %s is not in code page %s (%s): the "
          "driver copy's INF path cannot be handed to Plug and Play there and the online install fails. Fix: "
          "write the name in characters of that code page.",
          {n, s.OEMManufactor, DescribeChar(bad), text::IntToStr(lang.CodePage), lang.Name});
  }
  return b;
}

// Lines that make the profile reader lose models without a word.
void CheckLayout(TContext& c, const TString& path, const std::string& bytes, const TLinedProfile& lined) {
  const bool utf16 =
      bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE;
  const TStringView text = lined.Ini().Text();
  const TLineIndex lines(text);
  if (utf16 && bytes.size() % 2)
    c.Add(path, lines.LineOf(text.empty() ? 0 : text.size() - 1), TSeverity::Error, {}, {},
          "the UTF-16 file has an odd number of bytes: the installer drops the last byte, and with it the end "
          "of the last line. Fix: save the file again as UTF-16 (little endian, with byte-order mark).");
  if (!utf16) {
    bool ascii = true;
    for (char ch : bytes) ascii = ascii && static_cast<unsigned char>(ch) < 0x80;
    if (!ascii)
      c.Add(path, 1, TSeverity::Warning, {}, {},
            "the file is not UTF-16: the installer reads it in the system's ANSI code page, so its non-ASCII "
            "text reads differently on systems of other languages. Fix: save it as UTF-16 (little endian, with "
            "byte-order mark).");
  }
  TNameIndex headers;
  for (size_t pos = 0; pos < text.size();) {
    size_t end = text.find_first_of(u"\r\n", pos);
    if (end == TStringView::npos) end = text.size();
    const TString line = text::Trim(text.substr(pos, end - pos));
    const int number = lines.LineOf(pos);
    pos = end + 1;
    if (line.empty()) continue;
    if (line.find(u'\0') != TString::npos)
      c.Add(path, number, TSeverity::Error, {}, {},
            "the line holds a NUL character: the installer cuts the name or value there. Fix: remove it.");
    if (line[0] != u'[') continue;
    const size_t close = line.rfind(u']');
    if (close == TString::npos) {
      c.Add(path, number, TSeverity::Error, {}, {},
            "the section header %s has no closing \"]\": the installer reads the line as a key of the section "
            "above, and the model it starts is never listed. Fix: end the header with \"]\".",
            {line});
      continue;
    }
    TString name = text::Trim(TStringView(line).substr(1, close - 1));
    name = name.substr(0, name.find(u'\0'));
    if (name.empty()) {
      c.Add(path, number, TSeverity::Error, {}, {},
            "the section header has no name: the installer ignores every line up to the next header. Fix: "
            "name the section.");
      continue;
    }
    const auto [at, added] = headers.emplace(text::UpperAscii(name), number);
    if (!added)
      c.Add(path, number, TSeverity::Error, name, {},
            "the section [%s] appears again (first on line %s): the installer lists the model twice but reads "
            "both entries from the first. Fix: give each model a section name of its own.",
            {name, text::IntToStr(at->second)});
  }
}

// The languages a model is written for: those of its texts (FunctionDescribe.SC
// and the like); all three when it has none.
std::vector<const TLanguage*> LanguagesOf(const TProfileFile& ini, const TString& sec) {
  std::vector<const TLanguage*> out;
  for (const TLanguage& l : kLanguages)
    for (const char16_t* key : {u"FunctionDescribe.", u"InstallGuide.", u"QuickGuide.", u"UserManual."})
      if (ini.ValueExists(sec, key + TString(l.Suffix))) {
        out.push_back(&l);
        break;
      }
  if (out.empty())
    for (const TLanguage& l : kLanguages) out.push_back(&l);
  return out;
}

void CheckModel(TContext& c, const TString& path, const TLinedProfile& lined, const TString& sec, TNameIndex& names,
                const TStringList& list, size_t index) {
  const TProfileFile& ini = lined.Ini();
  auto raw = [&](const char16_t* key) { return ini.ReadString(sec, key, u""); };
  auto line = [&](const char16_t* key) { return lined.KeyLine(sec, key); };
  const TString progDir = c.Folder;
  TModelRef m{path, &lined, sec, {}, raw(u"PrinterName"), raw(u"PrinterHWID"), raw(u"MustUninstallForGDP"), {}};
  m.Label = m.PrinterName.empty() ? Msg("model [%s]", {sec}) : Msg("model \"%s\"", {m.PrinterName});

  // The installer's own loader decides whether the model can be offered.
  TRInstallInfo info;
  if (TString message; !TryLoadInstallInfo(ini, sec, progDir, info, message)) {
    const TString dirRaw = ini.ReadString(sec, u"DriverDir", u"*");
    int at = lined.SectionLine(sec);
    TString what;
    const char* fix;
    if (m.PrinterName.empty()) {
      what = Msg("PrinterName is missing or empty"), fix = "add PrinterName=<the model name as the INF writes it>";
    } else if (m.PrinterHWID.empty()) {
      what = Msg("PrinterHWID is missing or empty"), fix = "add PrinterHWID=<the printer's hardware ID>";
    } else if (!Fs().DirectoryExists(info.DriverDir)) {
      at = line(u"DriverDir");
      what = ini.ValueExists(sec, u"DriverDir") ? Msg("the driver folder \"%s\" does not exist", {dirRaw})
                                                : Msg("DriverDir is missing");
      fix = "write DriverDir as \\<folder below the package folder>, starting with a backslash";
    } else if (info.INF2K.empty() || info.INFX64.empty()) {
      at = line(info.INF2K.empty() ? u"INF.2K" : u"INF.X64");
      what = Msg("%s is missing or empty", {info.INF2K.empty() ? u"INF.2K" : u"INF.X64"});
      fix = "name the model's INF file inside the driver folder";
    } else {
      const bool x86Missing = !Fs().FileExists(info.DriverDir + u"\\" + info.INF2K);
      at = line(x86Missing ? u"INF.2K" : u"INF.X64");
      what = Msg("the INF file \"%s\" is not in the driver folder", {x86Missing ? info.INF2K : info.INFX64});
      fix = "put the INF file there or correct the name";
    }
    c.Add(path, at, TSeverity::Error, sec, m.Label,
          "%s: the installer stops loading the package description here with an error box, and offers neither "
          "this model nor the ones after it (\"%s\"). Fix: %s.",
          {what, message, Msg(fix)});
    return;
  }

  const TString dirRaw = ini.ReadString(sec, u"DriverDir", u"*");
  if (!paths::IsBelow(info.DriverDir, progDir))
    c.Add(path, line(u"DriverDir"), TSeverity::Error, sec, m.Label,
          "DriverDir \"%s\" leads out of the package folder: the installer copies and installs driver files from "
          "wherever it points. Fix: keep the driver folder below the package folder (\\Drivers\\<model>).",
          {dirRaw});
  if (!IsBufferFolderName(m.PrinterName))
    c.Add(path, line(u"PrinterName"), TSeverity::Error, sec, m.Label,
          "the name cannot be a folder name: the installer refuses to install it (\"cannot be used as a folder "
          "name for the driver files\"). Fix: use a name without \\ / : * ? \" < > | and without a trailing dot "
          "or blank, in the INF and in Setup.ini.");
  for (const char16_t* key : {u"INF.2K", u"INF.X64"}) {
    const TString name = raw(key);
    if (!IsNameInsideFolder(name))
      c.Add(path, line(key), TSeverity::Error, sec, m.Label,
            "%s \"%s\" does not name a file inside the driver folder: the installer refuses to install the "
            "model. Fix: name the INF by its path below the driver folder, without \"..\".",
            {key, name});
  }
  const auto [first, added] = names.emplace(text::UpperAscii(m.PrinterName), index);
  if (!added)
    c.Add(path, line(u"PrinterName"), TSeverity::Error, sec, m.Label,
          "another model, [%s], has the same name: both install the same driver into the same folder, and the "
          "second install replaces the first one's driver. Fix: give each model its own name.",
          {list[first->second]});

  for (const TLanguage* l : LanguagesOf(ini, sec)) {
    const std::pair<const char16_t*, TString> texts[] = {{u"PrinterName", m.PrinterName},
                                                         {u"PrinterHWID", m.PrinterHWID},
                                                         {u"DriverDir", dirRaw + u"\\" + raw(u"INF.2K")},
                                                         {u"DriverDir", dirRaw + u"\\" + raw(u"INF.X64")}};
    for (const auto& [key, value] : texts) {
      const char16_t bad = FirstMisfit(value, l->CodePage);
      if (!bad || !c.Once(path + sec + key + text::IntToStr(l->CodePage))) continue;
      c.Add(path, line(key), TSeverity::Error, sec, m.Label,
            "the %s \"%s\" holds %s, which is not in code page %s (%s, a language the model is written for): "
            "on such a system the installer cannot hand it to Plug and Play or the print UI, and the install "
            "fails. Fix: use characters of that code page (ASCII fits all).",
            {key == TStringView(u"DriverDir")     ? u"INF path"
             : key == TStringView(u"PrinterName") ? u"model name"
                                                  : u"hardware ID",
             value, DescribeChar(bad), text::IntToStr(l->CodePage), l->Name});
    }
  }

  if (ini.ValueExists(sec, u"UninstallerOnRestart")) {
    const TString uninstaller = raw(u"UninstallerOnRestart");
    if (!paths::IsBelow(info.UninstallerOnRestart, progDir))
      c.Add(path, line(u"UninstallerOnRestart"), TSeverity::Warning, sec, m.Label,
            "\"%s\" lies outside the package folder: the installer never schedules it. Fix: name the "
            "uninstaller by its path below the package folder.",
            {uninstaller});
    else if (!Fs().FileExists(info.UninstallerOnRestart))
      c.Add(path, line(u"UninstallerOnRestart"), TSeverity::Warning, sec, m.Label,
            "the uninstaller \"%s\" is not in the package: when an old driver cannot be removed, the installer "
            "schedules a program that does not exist and the old driver stays. Fix: ship the uninstaller there "
            "or correct the path.",
            {uninstaller});
  }
  if (!m.MustUninstallForGDP.empty()) {
    if (TryVersionOlder(m.MustUninstallForGDP, m.MustUninstallForGDP) < 0) {
      c.Add(path, line(u"MustUninstallForGDP"), TSeverity::Error, sec, m.Label,
            "\"%s\" is not a version of numbers separated by dots: whenever an installed driver of the model is "
            "found, the install ends with a conversion error. Fix: write it like 1.2.",
            {m.MustUninstallForGDP});
    }
  }

  m.DriverDir = info.DriverDir;
  CheckModelInf(c, m, info.INF2K, false);
  CheckModelInf(c, m, info.INFX64, true);
}

void CheckSetupIni(TContext& c, const TString& path, const TString& named) {
  std::string bytes;
  if (!Fs().FileExists(path) || !Fs().ReadFile(path, bytes)) {
    c.Add(path, 1, TSeverity::Error, {}, {},
          "the package description \"%s\" is missing: the installer tells the user it does not exist and "
          "ends. Fix: put Setup.ini (UTF-16) in the package folder beside DriverSetup.exe.",
          {named});
    return;
  }
  const TLinedProfile lined(bytes);
  CheckLayout(c, path, bytes, lined);
  TNameIndex names, sections;
  const TStringList list = lined.Ini().ReadSections();
  if (list.empty())
    c.Add(path, 1, TSeverity::Error, {}, {},
          "the package description lists no model: the installer's list stays empty. Fix: add one section "
          "per model.");
  for (size_t i = 0; i < list.size(); ++i) {
    if (!sections.emplace(text::UpperAscii(list[i]), i).second) continue;  // reported by CheckLayout
    ++c.Result.Models;
    CheckModel(c, path, lined, list[i], names, list, i);
  }
}

}  // namespace

int TCheckResult::Count(TSeverity s) const {
  int n = 0;
  for (const TFinding& f : Findings) n += f.Severity == s;
  return n;
}

int TCheckResult::ExitCode() const { return Count(TSeverity::Error) ? 2 : Count(TSeverity::Warning) ? 1 : 0; }

TCheckResult CheckPackage(const TString& folder) {
  TContext c;
  c.Folder = folder;
  while (c.Folder.size() > 3 && (c.Folder.back() == u'\\' || c.Folder.back() == u'/')) c.Folder.pop_back();
  if (!Fs().DirectoryExists(c.Folder)) {
    c.Add(c.Folder, 1, TSeverity::Error, {}, {},
          "the package folder \"%s\" does not exist. Fix: name the folder that holds Setup.ini.", {folder});
    return c.Result;
  }
  TNameIndex described;
  for (const TLanguage& lang : kLanguages) {
    const TBranding b = LoadBranding(c, lang);
    if (!b.Loaded) continue;
    // The installer reads the name relative to its folder (its current
    // folder when started from Explorer); a full path stays as it is.
    const TString path = paths::FullPath(b.SetupIni, c.Folder);
    if (described.emplace(text::UpperAscii(path), 0).second) CheckSetupIni(c, path, b.SetupIni);
  }
  return c.Result;
}

}  // namespace pkgcheck
