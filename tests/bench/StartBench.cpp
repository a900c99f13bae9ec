// Start-up benchmark: starts programs in turns and measures for each the time
// from its start until it shows a visible window whose list view holds the
// expected number of items and it answers messages again (the list is
// drawn). Prints every time and the median per program.
//
//   start_bench RUNS ITEMS FOLDER PROGRAM [ITEMS FOLDER PROGRAM]...
//
// Each program runs in its FOLDER (its current directory) and is closed
// before the next one starts.
#include "win32/WinApi.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Program {
  int Items;
  std::wstring Folder;
  std::wstring Path;
  std::vector<double> Ms;
};

struct Search {
  DWORD Pid;
  int Items;
  HWND Found = nullptr;
};

BOOL CALLBACK FindList(HWND child, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  wchar_t cls[64] = {};
  GetClassNameW(child, cls, 64);
  DWORD_PTR count = 0;
  if (lstrcmpiW(cls, WC_LISTVIEWW) == 0 && IsWindowVisible(child) &&
      SendMessageTimeoutW(child, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 10000, &count) &&
      static_cast<int>(count) >= s->Items) {
    s->Found = child;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK FindTop(HWND w, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid != s->Pid || !IsWindowVisible(w)) return TRUE;
  EnumChildWindows(w, FindList, lp);
  if (!s->Found) return TRUE;
  s->Found = w;
  return FALSE;
}

double Now() {
  static LARGE_INTEGER f{};
  if (!f.QuadPart) QueryPerformanceFrequency(&f);
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  return 1000.0 * static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

// Milliseconds until the program's list is shown; a negative number when it
// never was within a minute.
double RunOnce(const Program& p) {
  std::wstring cmd = L"\"" + p.Path + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  const double start = Now();
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, p.Folder.c_str(), &si, &pi)) return -1;
  Search s{pi.dwProcessId, p.Items, nullptr};
  double ms = -1;
  while (Now() - start < 60000) {
    s.Found = nullptr;
    EnumWindows(FindTop, reinterpret_cast<LPARAM>(&s));
    if (s.Found) {
      // Whatever the program does after filling its list (drawing it) is
      // done when it takes the next message.
      DWORD_PTR r;
      SendMessageTimeoutW(s.Found, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &r);
      ms = Now() - start;
      PostMessageW(s.Found, WM_CLOSE, 0, 0);
      break;
    }
    if (WaitForSingleObject(pi.hProcess, 1) == WAIT_OBJECT_0) break;
  }
  if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return ms;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 5 || (argc - 2) % 3 != 0) {
    std::fputs("usage: start_bench RUNS ITEMS FOLDER PROGRAM [ITEMS FOLDER PROGRAM]...\n", stderr);
    return 2;
  }
  const int runs = _wtoi(argv[1]);
  std::vector<Program> programs;
  for (int i = 2; i + 2 < argc; i += 3) programs.push_back({_wtoi(argv[i]), argv[i + 1], argv[i + 2], {}});
  RunOnce(programs[0]);  // the first start of all warms Wine's caches
  for (int r = 0; r < runs; ++r) {
    for (Program& p : programs) {
      const double ms = RunOnce(p);
      if (ms < 0) {
        std::fwprintf(stderr, L"%ls showed no list of %d items\n", p.Path.c_str(), p.Items);
        return 1;
      }
      p.Ms.push_back(ms);
    }
  }
  for (std::size_t i = 0; i < programs.size(); ++i) {
    std::vector<double> v = programs[i].Ms;
    std::sort(v.begin(), v.end());
    std::printf("program=%zu items=%d median_ms=%.1f runs_ms=", i + 1, programs[i].Items, v[v.size() / 2]);
    for (double ms : programs[i].Ms) std::printf("%.0f,", ms);
    std::printf("\n");
  }
  return 0;
}
