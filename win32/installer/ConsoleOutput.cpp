#include "win32/installer/ConsoleOutput.h"

#include "win32/adapters/WinText.h"

bool WriteToConsole(const TString& text) {
  HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
  bool own = false;
  if (!out || out == INVALID_HANDLE_VALUE || ::GetFileType(out) == FILE_TYPE_UNKNOWN) {
    // Attached before: the console is this process's already.
    if (!::AttachConsole(ATTACH_PARENT_PROCESS) && ::GetLastError() != ERROR_ACCESS_DENIED) return false;
    out = ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_EXISTING, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE) return false;
    own = true;
  }
  DWORD mode = 0, done = 0;
  if (::GetConsoleMode(out, &mode)) {
    ::WriteConsoleW(out, W(text), static_cast<DWORD>(text.size()), &done, nullptr);
  } else {
    const std::string bytes = text::ToUtf8(text);
    ::WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
  }
  if (own) ::CloseHandle(out);
  return true;
}
