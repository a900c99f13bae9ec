#!/usr/bin/env python3
"""Puts timing marks into the installer's start (scripts/bench-steps.sh runs it
on a clean tree and takes them out again). Each mark records the time since the
previous one; the program writes them to the file named by DS_STARTMARK when
its list is filled and drawn. Never part of a shipped build."""
import sys

MARK = '''// Timing marks of the start (scripts/start-steps.py).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {
struct Mark {
  const char* What;
  double Ms;
};
std::vector<Mark>& Marks() {
  static std::vector<Mark> m;
  return m;
}
}  // namespace

#ifdef _WIN32
#include <windows.h>
// From the process's creation (as the system recorded it) to the first mark.
static double g_ToFirstMark = -1;
#endif

void StartMark(const char* what) {
  using namespace std::chrono;
#ifdef _WIN32
  if (Marks().empty()) {
    FILETIME now, created, exited, kernel, user;
    GetSystemTimePreciseAsFileTime(&now);
    if (GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) {
      auto ticks = [](const FILETIME& t) { return (double(t.dwHighDateTime) * 4294967296.0) + t.dwLowDateTime; };
      g_ToFirstMark = (ticks(now) - ticks(created)) / 10000.0;
    }
  }
#endif
  Marks().push_back({what, duration<double, std::milli>(steady_clock::now().time_since_epoch()).count()});
}
void StartMarkFlush() {
  const char* path = std::getenv("DS_STARTMARK");
  FILE* f = path ? std::fopen(path, "a") : nullptr;
  if (!f) return;
#ifdef _WIN32
  if (g_ToFirstMark >= 0) std::fprintf(f, "process created to main %.2f\\n", g_ToFirstMark);
#endif
  for (std::size_t i = 1; i < Marks().size(); ++i)
    std::fprintf(f, "%s %.2f\\n", Marks()[i].What, Marks()[i].Ms - Marks()[i - 1].Ms);
  std::fprintf(f, "--\\n");
  std::fclose(f);
  Marks().clear();
}
'''
DECL = 'void StartMark(const char*);\nvoid StartMarkFlush();\n'


def sub(path, old, new):
    s = open(path).read()
    if old not in s:
        sys.exit(f'start-steps: {path} has changed; adjust the marks ({old.strip()[:40]}...)')
    open(path, 'w').write(s.replace(old, new, 1))


open('installer/StartMark.cpp', 'w').write(MARK)
p = 'win32/installer/WinMain.cpp'
sub(p, 'int WINAPI wWinMain(', DECL + 'int WINAPI wWinMain(')
sub(p, '  win::RestrictLibrarySearch();', '  StartMark("main");\n  win::RestrictLibrarySearch();')
sub(p, '  InitSysLangID();\n', '  InitSysLangID();\n  StartMark("adapters and language");\n')
sub(p, '  TMainWindow mainWindow(instance);', '  StartMark("common controls");\n  TMainWindow mainWindow(instance);')
p = 'win32/installer/MainWindow.cpp'
sub(p, '#include <algorithm>\n', '#include <algorithm>\n' + DECL)
sub(p, '  if (!CreateAttached(', '  StartMark("window class");\n  if (!CreateAttached(')
sub(p, '  m_Form.FormCreate();\n  if (!m_Terminating) {\n    ShowWindow(m_Hwnd, SW_SHOW);\n    UpdateWindow(m_Hwnd);\n  }',
    '  StartMark("window and controls");\n  m_Form.FormCreate();\n  if (!m_Terminating) {\n'
    '    ShowWindow(m_Hwnd, SW_SHOW);\n    UpdateWindow(m_Hwnd);\n  }\n  StartMark("show and first paint");')
sub(p, '      m_Form.FormActivate();',
    '      StartMark("to the first activation");\n      m_Form.FormActivate();\n      StartMark("list filled");\n'
    '      RedrawWindow(m_Hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);\n'
    '      StartMark("list drawn");\n      StartMarkFlush();')
p = 'installer/uMain.cpp'
sub(p, 'namespace {\n', DECL + 'namespace {\n')
sub(p, '  TraceStartFacts();\n', '  TraceStartFacts();\n  StartMark("start facts recorded");\n')
sub(p, '  const TString suffix = GetSystemLangCode(u"_");', '  StartMark("workspace");\n  const TString suffix = GetSystemLangCode(u"_");')
sub(p, '  m_strInst2kDll = m_strTempDir', '  StartMark("strings file written");\n  m_strInst2kDll = m_strTempDir')
sub(p, '    if (!packed::Unpack(bytes, unpacked))', '    StartMark("  component resource");\n    if (!packed::Unpack(bytes, unpacked))')
sub(p, '    TFileLock lock;\n', '    StartMark("  component unpacked");\n    TFileLock lock;\n')
sub(p, '    if (ok) m_ComponentLocks.push_back(std::move(lock));',
    '    StartMark("  component written and locked");\n    if (ok) m_ComponentLocks.push_back(std::move(lock));')
sub(p, '  ApplyOEMBranding();\n', '  StartMark("strings");\n  ApplyOEMBranding();\n  StartMark("branding");\n')
sub(p, '  g_InstallInfos.LoadFromFile(m_strSetupIni);\n}', '  g_InstallInfos.LoadFromFile(m_strSetupIni);\n  StartMark("package");\n}')
