#include "sysutil/Trace.h"

#include "platform/IRecord.h"

namespace trace {

namespace {

TString g_Program = u"DriverSetup";
TString g_RecordFile;  // empty: DriverSetup.log in the temporary folder
int g_Holds = 0;

TString Two(int v) { return text::Format(u"%.2d", {v}); }

// One event per line: line breaks inside a text become " | ".
TString OneLine(TStringView s) {
  TString out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == u'\r' || s[i] == u'\n') {
      if (s[i] == u'\r' && i + 1 < s.size() && s[i + 1] == u'\n') ++i;
      out += u" | ";
    } else {
      out.push_back(s[i]);
    }
  }
  return out;
}

// Writers rotate one at a time, and only a record still full once the lock
// is theirs: a writer that saw the same full record as another finds it
// rotated already and leaves the other's fresh record (and the old one it
// replaced) alone; one that finds the lock taken just appends.
void Rotate(IRecordFile& port, const TString& path) {
  struct Lock {
    IRecordFile& Port;
    THandle Handle;
    ~Lock() {
      if (Handle) Port.UnlockRecord(Handle);
    }
  } lock{port, port.LockRecord(path + kRecordLockSuffix)};
  if (lock.Handle && port.RecordSize(path) >= kRotateBytes) port.ReplaceRecord(path, path + kOldRecordSuffix);
}

void Write(char16_t kind, TStringView message) {
  IRecordFile* port = RecordPort();
  if (!port) return;
  try {
    const TString path = RecordPath();
    if (path.empty()) return;
    if (port->RecordSize(path) >= kRotateBytes) Rotate(*port, path);
    const TLocalTime t = port->LocalTime();
    const TString line =
        text::Format(u"%.4d-%s-%s %s:%s:%s.%.3d [%s %u] %s %s\r\n",
                     {int(t.Year), Two(t.Month), Two(t.Day), Two(t.Hour), Two(t.Minute), Two(t.Second),
                      int(t.Milliseconds), g_Program, port->ProcessId(), TString(1, kind), OneLine(message)});
    port->AppendRecord(path, "\xEF\xBB\xBF", text::ToUtf8(line));
  } catch (...) {
    // The record never stops the program (not even when memory runs out).
  }
}

}  // namespace

void SetProgram(TStringView name) { g_Program = TString(name); }

void SetRecordFile(const TString& path) { g_RecordFile = path; }

TString RecordPath() {
  IRecordFile* port = RecordPort();
  if (port && !g_RecordFile.empty()) return g_RecordFile;
  TString folder;
  if (!port || !port->RecordFolder(folder) || folder.empty()) return {};
  if (folder.back() != u'\\') folder += u'\\';
  return folder + kRecordName;
}

THold::THold() {
  if (g_Holds++ == 0)
    if (IRecordFile* port = RecordPort()) port->KeepOpen(true);
}

THold::~THold() {
  if (--g_Holds == 0)
    if (IRecordFile* port = RecordPort()) port->KeepOpen(false);
}

void Enter(TStringView routine) { Write(u'>', routine); }
void Leave(TStringView routine) { Write(u'<', routine); }
void Msg(TStringView s) { Write(u'I', s); }
void Warn(TStringView s) { Write(u'W', s); }
void Error(TStringView s) { Write(u'E', s); }
void Fmt(TStringView pattern, const std::vector<text::FormatArg>& args) { Write(u'I', text::Format(pattern, args)); }

void Call(TStringView what, std::uint32_t code, TStringView systemText) {
  TString s = text::Format(u"%s: code %u (0x%.8x)", {what, code, code});
  if (!systemText.empty()) s += u" " + TString(systemText);
  Write(code == 0 ? u'I' : u'W', s);
}

}  // namespace trace
