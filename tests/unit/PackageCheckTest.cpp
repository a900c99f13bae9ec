// The package check over the demo package and copies of it with one fault
// each, on the fake machine: each copy gives exactly its one finding, at the
// file and line to mend.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "fakes/ScopedMachine.h"
#include "pkgcheck/InfFile.h"
#include "pkgcheck/PackageCheck.h"
#include "sysutil/ProfileFile.h"

namespace {

namespace fs = std::filesystem;
using pkgcheck::TSeverity;

const TString kPkg = u"C:\\Pkg";

std::string ReadDisk(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string Utf16(const TString& s) {
  std::string out = "\xFF\xFE";
  for (char16_t c : s) out += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  return out;
}

// The demo package at C:\Pkg and the installer's strings files and logos.
struct DemoMachine {
  ScopedMachine m;
  DemoMachine() {
    const fs::path root = fs::path(DS_SOURCE_DIR) / "examples/demo-package";
    for (const auto& e : fs::recursive_directory_iterator(root)) {
      TString path = kPkg + u"\\" + text::FromUtf8(fs::relative(e.path(), root).string());
      for (char16_t& c : path) c = c == u'/' ? u'\\' : c;
      if (e.is_directory())
        m.fs.AddDir(path);
      else
        m.fs.AddFile(path, ReadDisk(e.path()));
    }
    const fs::path res = fs::path(DS_SOURCE_DIR) / "resources";
    for (const char* lang : {"EN", "CN", "CHT"})
      m.res.Data[u"RC_STRINGS_INI_" + text::FromUtf8(lang)] = ReadDisk(res / ("Strings_" + std::string(lang) + ".ini"));
    for (const auto& e : fs::directory_iterator(res / "logos"))
      m.res.Data[text::UpperAscii(text::FromUtf8(e.path().stem().string()))] = ReadDisk(e.path());
  }
  TString Text(const TString& file) { return DecodeTextFile(m.fs.Contents(kPkg + u"\\" + file)); }
  // Replaces the first `from` of a package file, keeping its encoding.
  void Edit(const TString& file, const char* from, std::string_view to, bool utf16 = false) {
    TString t = Text(file);
    const size_t at = t.find(text::FromUtf8(from));
    ASSERT_NE(at, TString::npos) << from;
    t.replace(at, text::FromUtf8(from).size(), text::FromUtf8(to));
    const std::string bytes = m.fs.Contents(kPkg + u"\\" + file);
    const bool wide = utf16 || (bytes.size() > 1 && bytes[0] == '\xFF');
    m.fs.AddFile(kPkg + u"\\" + file, wide ? Utf16(t) : text::ToUtf8(t));
  }
  // The line (from 1) of the last `needle` in a package file.
  int LineOf(const TString& file, const char* needle) {
    const TString t = Text(file);
    const size_t at = t.rfind(text::FromUtf8(needle));
    EXPECT_NE(at, TString::npos) << needle;
    int line = 1;
    for (size_t i = 0; i < at && at != TString::npos; ++i) line += t[i] == u'\n';
    return line;
  }
};

const TString kIni = u"Setup.ini";
const TString kInf = u"Drivers/TS2100/TS2100.inf";
const TString kGpd = u"Drivers/TS2100/TS2100.GPD";

TString Win(const TString& rel) {
  TString w = rel;
  for (char16_t& c : w) c = c == u'/' ? u'\\' : c;
  return w;
}

TEST(PackageCheck, DemoPackageIsClean) {
  DemoMachine d;
  const auto r = pkgcheck::CheckPackage(kPkg);
  EXPECT_EQ(r.Models, 3);
  EXPECT_EQ(pkgcheck::FormatText(r), u"driversetup-check: 3 models, 0 errors, 0 warnings\n");
  EXPECT_EQ(r.ExitCode(), 0);
}

TEST(PackageCheck, EachFaultGivesItsFinding) {
  struct Row {
    const char* what;
    std::function<void(DemoMachine&)> damage;
    TString file;
    const char* lineOf;  // text on the finding's line, after the damage
    TSeverity severity;
    const char* says;  // the finding names this
  } rows[] = {
      {"DriverVer date", [](DemoMachine& d) { d.Edit(Win(kInf), "06/01/2026", "13/01/2026"); }, kInf, "DriverVer",
       TSeverity::Error, "Inf DriverVer Format Error"},
      {"no ProviderName", [](DemoMachine& d) { d.Edit(Win(kInf), "ProviderName=\"Tessaron\"\r\n", ""); }, kInf,
       "[Strings]", TSeverity::Warning, "ProviderName"},
      {"provider section without the model",
       [](DemoMachine& d) { d.Edit(Win(kInf), "[Tessaron]\r\n\"Tessaron TS-2100\"", "[Tessaron]\r\n\"Other\""); }, kInf,
       "[Tessaron]", TSeverity::Warning, "does not list the model"},
      {"no GPD version", [](DemoMachine& d) { d.Edit(Win(kGpd), "*GPDFileVersion: \"1.2\"\r\n", ""); }, kGpd,
       "*GPDSpecVersion", TSeverity::Error, "*GPDFileVersion"},
      {"GPD version of ten characters", [](DemoMachine& d) { d.Edit(Win(kGpd), "\"1.2\"", "\"1.2.3.4.50\""); }, kGpd,
       "*GPDFileVersion", TSeverity::Error, "ten or more"},
      {"hardware ID not in the INF", [](DemoMachine& d) { d.Edit(kIni, "TessaronTS-2100A1B2", "TessaronTS-2100"); },
       kIni, "PrinterHWID=TessaronTS-2100", TSeverity::Error, "LPT1:"},
      {"copied file missing", [](DemoMachine& d) { d.m.fs.DeleteFile(kPkg + u"\\" + Win(kGpd)); }, kInf,
       "CopyFiles=@TS2100.GPD", TSeverity::Error, "\"TS2100.GPD\""},
      {"INF.2K missing", [](DemoMachine& d) { d.Edit(kIni, "INF.2K=TS2100.inf", "INF.2K=TS2100x.inf"); }, kIni,
       "INF.2K=TS2100x", TSeverity::Error, "offers neither this model"},
      {"driver folder missing", [](DemoMachine& d) { d.Edit(kIni, "\\Drivers\\TS3200", "\\Drivers\\TS3300"); }, kIni,
       "\\Drivers\\TS3300", TSeverity::Error, "Tessaron TS-3200"},
      {"name that is no folder name",
       [](DemoMachine& d) {
         d.Edit(kIni, "Tessaron TS-2100", "Tessaron TS:2100");
         for (int i = 0; i < 3; ++i) d.Edit(Win(kInf), "\"Tessaron TS-2100\"", "\"Tessaron TS:2100\"");
       },
       kIni, "PrinterName=Tessaron TS:2100", TSeverity::Error, "folder name"},
      {"name outside code page 1252",
       [](DemoMachine& d) {
         d.Edit(kIni, "Tessaron TS-2100", "Tessaron 中-2100");
         for (int i = 0; i < 3; ++i) d.Edit(Win(kInf), "\"Tessaron TS-2100\"", "\"Tessaron 中-2100\"", true);
       },
       kIni, "PrinterName=Tessaron 中", TSeverity::Error, "code page 1252"},
      {"two models of one name",
       [](DemoMachine& d) {
         d.Edit(kIni, "PrinterName=Tessaron TS-3200", "PrinterName=Tessaron TS-2100");
         d.Edit(kIni, "PrinterHWID=TessaronTS-3200C3D4", "PrinterHWID=TessaronTS-2100A1B2");
         d.Edit(kIni, "MustUninstallForGDP=2.0", "MustUninstallForGDP=1.2");
         d.Edit(kIni, "\\Drivers\\TS3200", "\\Drivers\\TS2100");
         d.Edit(kIni, "INF.2K=TS3200.inf\r\nINF.X64=TS3200.inf", "INF.2K=TS2100.inf\r\nINF.X64=TS2100.inf");
       },
       kIni,
       "PrinterName=Tessaron TS-2100\r\nPrinterHWID=TessaronTS-2100A1B2\r\nMustUninstallForGDP=1.2\r\n"
       "PrintWidth=94",
       TSeverity::Error, "[TS2100]"},
      {"uninstaller missing",
       [](DemoMachine& d) { d.Edit(kIni, "PrintWidth=136", "PrintWidth=136\r\nUninstallerOnRestart=I386\\Un.exe"); },
       kIni, "UninstallerOnRestart", TSeverity::Warning, "Tessaron TS-5400"},
      {"OEM row without logo",
       [](DemoMachine& d) {
         TString s = DecodeTextFile(d.m.res.Data[u"RC_STRINGS_INI_EN"]);
         s.erase(s.find(u"Logo.5="), s.find(u"\r\n", s.find(u"Logo.5=")) + 2 - s.find(u"Logo.5="));
         d.m.res.Data[u"RC_STRINGS_INI_EN"] = Utf16(s);
       },
       u"<built-in>/Strings_EN.ini", nullptr, TSeverity::Warning, "Logo.5"},
      {"driver folder out of the package",
       [](DemoMachine& d) {
         for (const char* f : {"TS2100.inf", "TS2100.GPD"})
           d.m.fs.AddFile(u"C:\\Pkg\\..\\Other\\" + text::FromUtf8(f),
                          d.m.fs.Contents(u"C:\\Pkg\\Drivers\\TS2100\\" + text::FromUtf8(f)));
         d.Edit(kIni, "DriverDir=\\Drivers\\TS2100", "DriverDir=\\..\\Other");
       },
       kIni, "DriverDir=\\..\\Other", TSeverity::Error, "out of the package"},
      {"odd-length UTF-16",
       [](DemoMachine& d) { d.m.fs.AddFile(kPkg + u"\\Setup.ini", d.m.fs.Contents(kPkg + u"\\Setup.ini") + "x"); },
       kIni, "AlwaysSetDefault=1", TSeverity::Error, "odd number of bytes"},
      {"NUL inside a name", [](DemoMachine& d) { d.Edit(kIni, "[TS5400]", std::string_view("[TS\0 5400]", 10)); }, kIni,
       "[TS", TSeverity::Error, "NUL"},
      {"header without ]", [](DemoMachine& d) { d.Edit(kIni, "[TS3200]", "[TS3200"); }, kIni, "[TS3200",
       TSeverity::Error, "never listed"},
      {"no 64-bit models", [](DemoMachine& d) { d.Edit(Win(kInf), "NTx86,NTamd64", "NTx86"); }, kInf, "[Manufacturer]",
       TSeverity::Error, "64-bit"},
      {"quote left open", [](DemoMachine& d) { d.Edit(Win(kInf), "DefaultDestDir=66000", "DefaultDestDir=\"66000"); },
       kInf, "DefaultDestDir", TSeverity::Warning, "quote"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    DemoMachine d;
    row.damage(d);
    const auto r = pkgcheck::CheckPackage(kPkg);
    ASSERT_EQ(r.Findings.size(), 1u) << text::ToUtf8(pkgcheck::FormatText(r));
    const auto& f = r.Findings[0];
    EXPECT_EQ(f.File, row.file);
    if (row.lineOf) {
      int line = d.LineOf(Win(row.file), row.lineOf);
      EXPECT_EQ(f.Line, line) << text::ToUtf8(f.Text);
    }
    EXPECT_EQ(f.Severity, row.severity);
    EXPECT_NE(f.Text.find(text::FromUtf8(row.says)), TString::npos) << text::ToUtf8(f.Text);
    EXPECT_EQ(r.ExitCode(), row.severity == TSeverity::Error ? 2 : 1);
  }
}

}  // namespace

namespace {

// The INF reader on the constructs makers write: each row a small INF and the
// first line of one section as the setup functions read it.
TEST(PackageCheck, InfReaderReadsWhatMakersWrite) {
  struct Row {
    const char* inf;
    const char* section;
    const char* key;
    std::vector<const char*> fields;
  } rows[] = {
      {"[M]\r\n\"A ; B\"=S, ID1 ,ID2 ; a comment\r\n", "M", "A ; B", {"S", "ID1", "ID2"}},
      {"[M]\r\n%N%=S,\\\r\n   ID1\r\n[Strings]\r\nN=\"Model, 1\"\r\n", "M", "Model, 1", {"S", "ID1"}},
      {"[M]\r\nK=\"say \"\"hi\"\"\",100%%,%12%\\x\r\n", "M", "K", {"say \"hi\"", "100%", "%12%\\x"}},
      {"[m]\r\n[X]\r\n[M]\r\nK=merged\r\n", "M", "K", {"merged"}},
      {"[M]\r\nK=%T%\r\n[Strings.0804]\r\nT=late\r\n[Strings]\r\nT=first\r\n", "M", "K", {"first"}},
      {"[M]\r\nCopyFiles=@a.gpd,Files\r\n", "m", "copyfiles", {"@a.gpd", "Files"}},
  };
  ScopedMachine m;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.inf);
    pkgcheck::TInfFile inf;
    inf.Parse(row.inf);
    const pkgcheck::TInfLine* l = inf.FindKey(text::FromUtf8(row.section), text::FromUtf8(row.key));
    ASSERT_NE(l, nullptr);
    ASSERT_EQ(l->Fields.size(), row.fields.size());
    for (size_t i = 0; i < row.fields.size(); ++i) EXPECT_EQ(text::ToUtf8(l->Fields[i]), row.fields[i]);
    EXPECT_TRUE(inf.Notes().empty());
  }
  pkgcheck::TInfFile inf;  // what it does not understand is a note with its line
  inf.Parse("x\r\n[M\r\nK=\"open\r\nL=%nope%\r\n");
  std::vector<int> lines;
  for (const auto& n : inf.Notes()) lines.push_back(n.Line);
  EXPECT_EQ(lines, (std::vector<int>{1, 2, 3, 4}));
}

}  // namespace
