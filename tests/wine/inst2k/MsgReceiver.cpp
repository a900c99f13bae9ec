// Test program: stands in for the installer's main window. Creates a hidden
// top-level window, writes its handle to the result file and signals
// "<base>_ready"; on message 0x401 or 0x402 it appends what it got (and
// whether the sender is blocked in SendMessage), signals "<base>_got", waits
// for "<base>_release" and ends.
//   inst2k_msg_receiver <result file> <event base name>
#include "win32/WinApi.h"

#include <cstdio>
#include <string>

namespace {

std::wstring g_ResultFile;
HANDLE g_Got = nullptr;
HANDLE g_Release = nullptr;

void Append(const std::string& line) {
  HANDLE f = CreateFileW(g_ResultFile.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(f, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(f);
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == 0x401 || msg == 0x402) {
    const DWORD how = InSendMessageEx(nullptr);
    char line[160];
    std::snprintf(line, sizeof line, "msg=%u wparam=%llu lparam=%llu sent=%d\r\n", msg,
                  static_cast<unsigned long long>(wParam), static_cast<unsigned long long>(lParam),
                  (how & ISMEX_SEND) ? 1 : 0);
    Append(line);
    SetEvent(g_Got);
    WaitForSingleObject(g_Release, 20000);
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) return 2;
  g_ResultFile = argv[1];
  const std::wstring base = argv[2];
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, (base + L"_ready").c_str());
  g_Got = CreateEventW(nullptr, TRUE, FALSE, (base + L"_got").c_str());
  g_Release = CreateEventW(nullptr, TRUE, FALSE, (base + L"_release").c_str());

  WNDCLASSW wc{};
  wc.lpfnWndProc = WndProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"Inst2kTestReceiver";
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"inst2k test receiver", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                              nullptr, nullptr, wc.hInstance, nullptr);
  if (!hwnd) return 3;
  char line[64];
  std::snprintf(line, sizeof line, "hwnd=%ld\r\n", static_cast<long>(reinterpret_cast<LONG_PTR>(hwnd)));
  Append(line);
  SetEvent(ready);

  SetTimer(hwnd, 1, 60000, nullptr);  // never outlive a broken test
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_TIMER) break;
    DispatchMessageW(&msg);
  }
  DestroyWindow(hwnd);
  return 0;
}
