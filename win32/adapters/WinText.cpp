#include "win32/adapters/WinText.h"

namespace win {

std::string WideToAnsi(TStringView s, bool& exact) {
  exact = true;
  if (s.empty()) return {};
  const auto* w = reinterpret_cast<const wchar_t*>(s.data());
  const int len = static_cast<int>(s.size());
  // The code page's own flags: UTF-8 takes neither the best-fit flag nor the
  // default-character report, and refuses broken UTF-16 when asked to.
  const bool utf8 = ::GetACP() == CP_UTF8;
  const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  BOOL* used = utf8 ? nullptr : &usedDefault;
  int n = ::WideCharToMultiByte(CP_ACP, flags, w, len, nullptr, 0, nullptr, used);
  if (n <= 0) {
    exact = false;
    return {};
  }
  std::string out(static_cast<size_t>(n), '\0');
  n = ::WideCharToMultiByte(CP_ACP, flags, w, len, out.data(), n, nullptr, used);
  out.resize(n > 0 ? static_cast<size_t>(n) : 0);
  exact = n > 0 && !usedDefault;
  return out;
}

TString AnsiToWide(std::string_view s) {
  if (s.empty()) return {};
  const int n = ::MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  if (n <= 0) return {};
  std::wstring out(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
  return T(out.c_str(), out.size());
}

TString FullPathName(const TString& path) {
  DWORD n = ::GetFullPathNameW(W(path), 0, nullptr, nullptr);
  if (n == 0) return {};
  std::wstring buffer(n + 1, L'\0');
  n = ::GetFullPathNameW(W(path), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
  if (n == 0 || n >= buffer.size()) return {};
  return T(buffer.c_str(), n);
}

}  // namespace win
