// Test child of the command runner: "ds_sleeper MS TEXT..." sleeps MS
// milliseconds and then prints TEXT to its standard output.
#include "win32/WinApi.h"

#include <cwchar>
#include <string>

int wmain(int argc, wchar_t** argv) {
  if (argc > 1) Sleep(static_cast<DWORD>(_wtoi(argv[1])));
  std::string out;
  for (int i = 2; i < argc; ++i) {
    if (i > 2) out += ' ';
    for (const wchar_t* p = argv[i]; *p; ++p) out += static_cast<char>(*p);
  }
  DWORD written = 0;
  if (!out.empty())
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), out.data(), static_cast<DWORD>(out.size()), &written, nullptr);
  return 0;
}
