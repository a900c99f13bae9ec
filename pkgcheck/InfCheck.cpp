// A model's INF file as Windows and the installer read it: the DriverVer the
// installer compares, the provider section its clean-up looks in, the models
// and hardware IDs Plug and Play and the print UI match, the files the copy
// sections name and the data file's version line.
#include "inst2k/FindExistDevice.h"
#include "install/InstallFunc.h"
#include "pkgcheck/CheckContext.h"
#include "pkgcheck/Guarded.h"
#include "pkgcheck/InfFile.h"
#include "platform/IFileSystem.h"
#include "removal/UnInstallFunc.h"
#include "sysutil/ProfileFile.h"

namespace pkgcheck {

namespace {

TString Field(const TInfLine& l, size_t i) { return i < l.Fields.size() ? l.Fields[i] : TString(); }

// A models section applies to 64-bit x86 Windows when decorated NTamd64, to
// 32-bit x86 Windows when undecorated or decorated NT or NTx86.
bool AppliesTo(TStringView decoration, bool x64) {
  if (x64) return text::StartsWithTextAscii(decoration, u"NTamd64");
  return decoration.empty() || text::SameTextAscii(decoration, u"NT") ||
         text::StartsWithTextAscii(decoration, u"NTx86");
}

// A source-disk section that serves 32-bit or 64-bit Windows: undecorated or
// decorated for the processor (x86 or amd64).
bool Serves(TStringView name, TStringView base, int x64) {
  if (!text::StartsWithTextAscii(name, base)) return false;
  const TStringView rest = name.substr(base.size());
  return rest.empty() || text::SameTextAscii(rest, x64 ? u".amd64" : u".x86");
}

struct TModelLine {
  const TInfLine* Line;
  TString Section;
};

TString JoinPath(TString base, TStringView part) {
  while (!part.empty() && (part.front() == u'\\' || part.front() == u'/')) part.remove_prefix(1);
  while (!part.empty() && (part.back() == u'\\' || part.back() == u'/')) part.remove_suffix(1);
  if (part.empty() || part == u".") return base;
  return base + u"\\" + TString(part);
}

class TInfCheck {
 public:
  TInfCheck(TContext& c, const TModelRef& m, const TString& infPath, bool x64)
      : c(c), m(m), m_Path(infPath), m_Key(text::UpperAscii(infPath)), m_x64(x64) {}

  void Run() {
    std::string bytes;
    if (!Fs().ReadFile(m_Path, bytes)) {
      Error(1, "the INF file cannot be read: the install fails. Fix: check the file's access rights.");
      return;
    }
    const auto [at, added] = c.InfIndex.emplace(m_Key, c.Infs.size());
    if (added) {
      c.Infs.push_back(std::make_unique<TContext::TInfRead>());
      TContext::TInfRead* read = c.Infs.back().get();
      read->Inf.Parse(bytes);
      read->Profile = std::make_unique<TLinedProfile>(bytes);
      read->Include = read->Inf.FindKey(u"Version", u"LayoutFile") != nullptr;
      for (const TInfSection& s : read->Inf.Sections()) {
        for (const TInfLine& l : s.Lines)
          read->Include = read->Include || (l.HasKey && text::SameTextAscii(l.Key, u"Include"));
        for (int x = 0; x < 2; ++x) {
          if (Serves(s.Name, u"SourceDisksFiles", x)) read->DiskFiles[x].push_back(&s);
          if (Serves(s.Name, u"SourceDisksNames", x)) read->DiskNames[x].push_back(&s);
        }
      }
    }
    m_Owner = c.Infs[at->second].get();
    m_Include = m_Owner->Include;
    if (c.Once(u"inf:" + m_Key)) FileOnce();
    if (c.Once(u"model:" + m.Section + u":" + m_Key)) ModelOnce();
    Models();
  }

 private:
  void Add(const TString& file, int line, TSeverity s, const char* fmt, std::initializer_list<TStringView> args = {}) {
    c.Add(file, line, s, m.Section, m.Label, fmt, args);
  }
  void Error(int line, const char* fmt, std::initializer_list<TStringView> args = {}) {
    Add(m_Path, line, TSeverity::Error, fmt, args);
  }
  void Warning(int line, const char* fmt, std::initializer_list<TStringView> args = {}) {
    Add(m_Path, line, TSeverity::Warning, fmt, args);
  }

  // What belongs to the file, whichever model uses it.
  void FileOnce() {
    // The first notes in full; a file that is not an INF at all would give one per line.
    constexpr size_t kNotes = 10;
    const auto& notes = Inf().Notes();
    for (size_t i = 0; i < notes.size() && i < kNotes; ++i)
      Warning(notes[i].Line,
              "%s: the check skips what it does not understand, and Windows may read it "
              "otherwise. Fix: write the line in the INF syntax.",
              {notes[i].Text});
    if (notes.size() > kNotes)
      Warning(notes[kNotes].Line,
              "%s more lines from here on that the check does not understand. Fix: write "
              "them in the INF syntax.",
              {text::IntToStr(static_cast<long long>(notes.size() - kNotes))});
    const TLinedProfile& lined = *m_Owner->Profile;
    const TDriverVer ver = DriverVerOf(lined.Ini());
    const int verLine = lined.KeyLine(u"Version", u"DriverVer");
    std::int64_t day = 0;
    if (!lined.Ini().ValueExists(u"Version", u"DriverVer")) {
      Warning(verLine,
              "[Version] has no DriverVer: the installer cannot tell driver versions apart and copies "
              "the driver again at every install. Fix: add DriverVer=mm/dd/yyyy,x.y.z.w.");
    } else if (!DriverVerDay(ver.Date, day)) {
      Error(verLine,
            "the DriverVer date \"%s\" is not a valid month/day/year date: once a copy of this driver "
            "version is kept, every install ends with \"Inf DriverVer Format Error\". Fix: write "
            "DriverVer=mm/dd/yyyy,x.y.z.w.",
            {ver.Date});
    } else if (ver.Components.empty()) {
      Warning(verLine,
              "DriverVer has no version after the date: the installer copies the driver again at every "
              "install. Fix: write DriverVer=mm/dd/yyyy,x.y.z.w.");
    }
    const TString catalogKeys[] = {u"CatalogFile", m_x64 ? u"CatalogFile.NTamd64" : u"CatalogFile.NTx86"};
    for (const TString& key : catalogKeys) {
      const TInfLine* l = Inf().FindKey(u"Version", key);
      if (!l || Field(*l, 0).empty() || Fs().FileExists(JoinPath(Folder(), Field(*l, 0)))) continue;
      Warning(l->Line,
              "the catalog \"%s\" is not beside the INF: Windows treats the driver as unsigned "
              "(64-bit Windows refuses it). Fix: ship the signed catalog or remove the line.",
              {Field(*l, 0)});
    }
  }

  // The installer's clean-up of registered copies: ProviderName in [Strings]
  // names the section that must list the model.
  void ModelOnce() {
    const TLinedProfile& lined = *m_Owner->Profile;
    if (InfContainsDriver(m.PrinterName, lined.Ini(), kPrinterInfClass)) return;
    const TString provider = lined.Ini().ReadString(u"Strings", u"ProviderName", u"");
    const TString cls = lined.Ini().ReadString(u"Version", u"Class", u"");
    const char* after =
        "the installer never finds its registered copies when the driver is removed, and they stay in the system's "
        "INF folder";
    if (provider.empty())
      Warning(lined.KeyLine(u"Strings", u"ProviderName"),
              "[Strings] has no ProviderName: %s. Fix: add ProviderName=\"<maker>\" to [Strings] and a section of "
              "that name listing \"%s\".",
              {Msg(after), m.PrinterName});
    else if (cls != kPrinterInfClass)
      Warning(lined.KeyLine(u"Version", u"Class"), "Class is \"%s\", not \"Printer\": %s. Fix: write Class=Printer.",
              {cls, Msg(after)});
    else
      Warning(lined.SectionLine(provider),
              "the provider section [%s] (ProviderName) does not list the model: %s. Fix: list "
              "\"%s\"=<install section>,<hardware ID> in [%s].",
              {provider, Msg(after), m.PrinterName, provider});
  }

  void Models() {
    const TInfSection* mfg = Inf().Find(u"Manufacturer");
    if (!mfg) {
      Error(1,
            "the INF has no [Manufacturer] section: Windows finds no model in it and the install fails. "
            "Fix: add [Manufacturer] naming the models section.");
      return;
    }
    std::vector<TModelLine> found;
    std::vector<TString> others;
    bool anyApplies = false;
    for (const TInfLine& l : mfg->Lines) {
      const TString base = Field(l, 0);
      if (base.empty()) continue;
      std::vector<TString> decorations;
      for (size_t i = 1; i < l.Fields.size(); ++i) decorations.push_back(l.Fields[i]);
      if (decorations.empty() || !m_x64) decorations.insert(decorations.begin(), TString());
      for (const TString& d : decorations) {
        if (!AppliesTo(d, m_x64)) continue;
        const TString name = d.empty() ? base : base + u"." + d;
        const TInfSection* s = Inf().Find(name);
        if (!s) {
          if (!d.empty() && c.Once(u"models:" + m_Key + name))
            Warning(l.Line,
                    "the models section [%s] does not exist: Windows finds no models for it. Fix: add "
                    "the section or remove the decoration.",
                    {name});
          continue;
        }
        anyApplies = true;
        for (const TInfLine& ml : s->Lines) {
          if (!ml.HasKey) continue;
          if (ml.Key == m.PrinterName)
            found.push_back({&ml, name});
          else if (others.size() < 3)
            others.push_back(Msg("\"%s\"", {ml.Key}));
        }
      }
    }
    const TStringView arch = m_x64 ? u"64-bit" : u"32-bit";
    if (found.empty()) {
      TString listed;
      for (const TString& o : others) listed += (listed.empty() ? u"" : u", ") + o;
      if (!anyApplies)
        Error(mfg->Line,
              "no models section for %s Windows (%s): the install fails on %s Windows. Fix: add the decoration in "
              "[Manufacturer] and its models section.",
              {arch, m_x64 ? u"decorated NTamd64" : u"undecorated or decorated NTx86", arch});
      else
        Error(mfg->Line,
              "the INF does not list the model for %s Windows: the print UI and Plug and Play find no driver of that "
              "name and the install fails. Fix: make PrinterName in Setup.ini the model name as the INF writes it"
              "%s%s%s.",
              {arch, listed.empty() ? u"" : u" (it lists ", listed, listed.empty() ? u"" : u")"});
      return;
    }
    HardwareIds(found);
    for (const TModelLine& ml : found) InstallSection(*ml.Line);
  }

  // Plug and Play installs the INF's driver for a device whose IDs the
  // library finds by PrinterHWID, by the library's own matching.
  void HardwareIds(const std::vector<TModelLine>& found) {
    std::string list;
    for (const TModelLine& ml : found)
      for (size_t i = 1; i < ml.Line->Fields.size(); ++i) {
        list += text::ToUtf8(ml.Line->Fields[i]);
        list += '\0';
      }
    list += '\0';
    if (inst2k::HardwareIdMatches(list, text::ToUtf8(m.PrinterHWID)) || !c.Once(u"hwid:" + m.Section)) return;
    Add(m.SetupIni, m.Profile->KeyLine(m.Section, u"PrinterHWID"), TSeverity::Error,
        "PrinterHWID \"%s\" is not among the hardware IDs the INF \"%s\" lists for the model (line %s): Plug "
        "and Play finds no driver for the printer, and every install falls back to LPT1:. Fix: make PrinterHWID "
        "the printer's hardware ID as the INF's model line lists it.",
        {m.PrinterHWID, c.Rel(m_Path), text::IntToStr(found.front().Line->Line)});
  }

  TString Folder() const {
    const size_t slash = m_Path.rfind(u'\\');
    return slash == TString::npos ? m_Path : m_Path.substr(0, slash);
  }

  // Where the setup functions take a file from: SourceDisksFiles gives its
  // disk and sub-folder, SourceDisksNames the disk's path below the INF's
  // folder. `placed` is false when the INF does not place it (a file of an
  // included or system INF), and the file is looked for beside the INF.
  TString SourceOf(const TString& file, bool& placed) const {
    placed = false;
    for (const TInfSection* s : m_Owner->DiskFiles[m_x64]) {
      for (const TInfLine& l : s->Lines) {
        if (!l.HasKey || !text::SameTextAscii(l.Key, file)) continue;
        placed = true;
        TString disk;
        for (const TInfSection* n : m_Owner->DiskNames[m_x64])
          for (const TInfLine& d : n->Lines)
            if (disk.empty() && d.HasKey && d.Key == Field(l, 0)) disk = Field(d, 3);
        return JoinPath(JoinPath(JoinPath(Folder(), disk), Field(l, 1)), file);
      }
    }
    return JoinPath(Folder(), file);
  }

  void RequireFile(const TString& file, int line, const TString& where) {
    if (file.empty()) return;
    bool placed = false;
    const TString source = SourceOf(file, placed);
    if (Fs().FileExists(source) || (!placed && m_Include) || !c.Once(u"file:" + text::UpperAscii(source))) return;
    Error(line,
          "the file \"%s\" named in %s is not in the driver folder (\"%s\"): Windows cannot copy it "
          "and the install fails. Fix: add the file or remove it from the INF.",
          {file, where, c.Rel(source)});
  }

  void InstallSection(const TInfLine& modelLine) {
    const TString name = Field(modelLine, 0);
    const auto sections = Inf().WithDecorations(name);
    if (sections.empty()) {
      if (!m_Include && c.Once(u"install:" + m_Key + name))
        Error(modelLine.Line,
              "the install section [%s] does not exist: Windows cannot install the model. "
              "Fix: add the section.",
              {name});
      return;
    }
    TString dataFile;
    int dataLine = modelLine.Line;
    for (const TInfSection* s : sections)
      for (const TInfLine& l : s->Lines) {
        if (!l.HasKey) continue;
        if (text::SameTextAscii(l.Key, u"DataFile") && dataFile.empty()) {
          dataFile = Field(l, 0);
          dataLine = l.Line;
        }
        if (!text::SameTextAscii(l.Key, u"CopyFiles")) continue;
        for (const TString& f : l.Fields) {
          if (!f.empty() && f[0] == u'@') {
            RequireFile(f.substr(1), l.Line, Msg("CopyFiles of [%s]", {s->Name}));
            continue;
          }
          const TInfSection* copy = Inf().Find(f);
          if (!copy) {
            if (!f.empty() && !m_Include && c.Once(u"copy:" + m_Key + f))
              Warning(l.Line,
                      "the copy section [%s] does not exist: Windows copies nothing for it. Fix: add "
                      "the section or remove the name.",
                      {f});
            continue;
          }
          for (const TInfLine& cl : copy->Lines) {
            const TString source = Field(cl, 1).empty() ? Field(cl, 0) : Field(cl, 1);
            RequireFile(cl.HasKey && source.empty() ? cl.Key : source, cl.Line, Msg("[%s]", {copy->Name}));
          }
        }
      }
    if (dataFile.empty()) dataFile = name;  // a printer's data file defaults to the section's name
    if (!m.MustUninstallForGDP.empty()) DataFileVersion(dataFile, dataLine);
  }

  // MustUninstallForGDP compares the installed data file's version line.
  void DataFileVersion(const TString& file, int line) {
    bool placed = false;
    const TString path = SourceOf(file, placed);
    std::string bytes;
    if (!Fs().ReadFile(path, bytes)) {
      if ((placed || !m_Include) && c.Once(u"file:" + text::UpperAscii(path)))
        Error(line, "the data file \"%s\" is not in the driver folder: the install fails. Fix: add the file.", {file});
      return;
    }
    if (!c.Once(u"gpd:" + m.Section + u":" + text::UpperAscii(path))) return;
    size_t at = 0;
    const TString version = GpdFileVersion(DecodeTextFile(bytes), at);
    const TString silent =
        Msg("the installer never recognises an installed copy of this driver as outdated, so "
            "MustUninstallForGDP=%s does nothing",
            {m.MustUninstallForGDP});
    if (at == 0) {
      Add(path, 1, TSeverity::Error,
          "the data file has no line *GPDFileVersion: \"x.y\": %s. Fix: add the line (one blank after the "
          "colon, the version in quotes).",
          {silent});
      return;
    }
    if (version.empty()) {
      Add(path, static_cast<int>(at), TSeverity::Error,
          "the *GPDFileVersion value has ten or more characters (or no closing quote): %s. Fix: use a version "
          "of at most nine characters, like \"1.2\".",
          {silent});
      return;
    }
    const int older = TryVersionOlder(version, m.MustUninstallForGDP);
    if (older > 0)
      Add(m.SetupIni, m.Profile->KeyLine(m.Section, u"MustUninstallForGDP"), TSeverity::Warning,
          "the package's own data file has version %s, older than MustUninstallForGDP=%s: every later "
          "install removes this very driver first. Fix: raise *GPDFileVersion or lower MustUninstallForGDP.",
          {version, m.MustUninstallForGDP});
    else if (older < 0)
      Add(path, static_cast<int>(at), TSeverity::Error,
          "the *GPDFileVersion value \"%s\" is not numbers separated by dots: when this driver is installed "
          "and the package is run again, the install ends with a conversion error. Fix: write it like \"1.2\".",
          {version});
  }

  TContext& c;
  const TModelRef& m;
  TString m_Path;
  TString m_Key;  // the path in upper case: one file whatever the case of its name
  bool m_x64;
  const TContext::TInfRead* m_Owner = nullptr;  // set by Run before anything reads it
  const TInfFile& Inf() const { return m_Owner->Inf; }
  bool m_Include = false;
};

}  // namespace

void CheckModelInf(TContext& c, const TModelRef& m, const TString& infName, bool x64) {
  TInfCheck(c, m, m.DriverDir + u"\\" + infName, x64).Run();
}

}  // namespace pkgcheck
