#include "ScriptedModal.h"

namespace {
const std::function<void(double)>* g_Step = nullptr;

void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) {
  if (g_Step) (*g_Step)(NowMs());
}

const wchar_t* g_WatchedClass = nullptr;
double g_HiddenAt = -1;
HHOOK g_Hook = nullptr;

LRESULT CALLBACK OnCallWndProc(int code, WPARAM wp, LPARAM lp) {
  const auto* m = reinterpret_cast<const CWPSTRUCT*>(lp);
  if (code == HC_ACTION && g_WatchedClass && g_HiddenAt < 0 && m->message == WM_SHOWWINDOW && !m->wParam) {
    wchar_t cls[64] = {};
    GetClassNameW(m->hwnd, cls, 64);
    if (lstrcmpW(cls, g_WatchedClass) == 0) g_HiddenAt = NowMs();
  }
  return CallNextHookEx(g_Hook, code, wp, lp);
}
}  // namespace

double NowMs() {
  static LARGE_INTEGER freq = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart);
}

void RunScripted(const std::function<void()>& modal, const std::function<void(double now)>& step) {
  g_Step = &step;
  UINT_PTR timer = SetTimer(nullptr, 0, 10, &OnTick);
  modal();
  KillTimer(nullptr, timer);
  g_Step = nullptr;
}

void PumpMessagesFor(double ms) {
  const double end = NowMs() + ms;
  while (NowMs() < end) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(10);
  }
}

std::wstring ItemText(HWND dialog, int id) {
  wchar_t buf[512] = {};
  GetDlgItemTextW(dialog, id, buf, 512);
  return buf;
}

void DoubleClickAt(POINT p) {
  const int sw = GetSystemMetrics(SM_CXSCREEN) - 1, sh = GetSystemMetrics(SM_CYSCREEN) - 1;
  INPUT in[5] = {};
  for (INPUT& i : in) {
    i.type = INPUT_MOUSE;
    i.mi.dx = MulDiv(p.x, 65535, sw);
    i.mi.dy = MulDiv(p.y, 65535, sh);
    i.mi.dwFlags = MOUSEEVENTF_ABSOLUTE;
  }
  in[0].mi.dwFlags |= MOUSEEVENTF_MOVE;
  in[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
  in[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
  in[3].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
  in[4].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
  SendInput(5, in, sizeof(INPUT));
}

HideWatch::HideWatch(const wchar_t* cls) {
  g_WatchedClass = cls;
  g_HiddenAt = -1;
  g_Hook = SetWindowsHookExW(WH_CALLWNDPROC, &OnCallWndProc, nullptr, GetCurrentThreadId());
}

HideWatch::~HideWatch() {
  UnhookWindowsHookEx(g_Hook);
  g_Hook = nullptr;
  g_WatchedClass = nullptr;
}

double HideWatch::HiddenAt() const { return g_HiddenAt; }
