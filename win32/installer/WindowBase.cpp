#include "win32/installer/WindowBase.h"

#include <new>

#include "config/LangStrings.h"
#include "sysutil/BoxText.h"
#include "sysutil/Exception.h"
#include "sysutil/Trace.h"
#include "win32/adapters/WinText.h"

namespace {

constexpr char16_t kDefaultCaption[] = u"DriverSetup";

}  // namespace

TString WindowText(HWND h) {
  const int n = ::GetWindowTextLengthW(h);
  std::wstring buf(static_cast<size_t>(n) + 1, L'\0');
  ::GetWindowTextW(h, buf.data(), n + 1);
  return T(buf.c_str());
}

int ScreenDpi() {
  HDC dc = ::GetDC(nullptr);
  const int dpi = dc ? ::GetDeviceCaps(dc, LOGPIXELSY) : 96;
  if (dc) ::ReleaseDC(nullptr, dc);
  return dpi > 0 ? dpi : 96;
}

TWindowBase::TWindowBase() : m_Dpi(ScreenDpi()) {}

TWindowBase::~TWindowBase() {
  if (m_Hwnd) {
    // The subclass is gone already: no message may reach it any more.
    ::SetWindowLongPtrW(m_Hwnd, GWLP_USERDATA, 0);
    ::DestroyWindow(m_Hwnd);
  }
  for (HFONT f : m_Fonts) ::DeleteObject(f);
}

void TWindowBase::RegisterClassOnce(WNDCLASSEXW wc) {
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &TWindowBase::Thunk;
  if (!wc.hInstance) wc.hInstance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (!::GetClassInfoExW(wc.hInstance, wc.lpszClassName, &existing)) ::RegisterClassExW(&wc);
}

HWND TWindowBase::CreateAttached(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x,
                                 int y, int width, int height, HWND owner) {
  return ::CreateWindowExW(exStyle, className, title, style, x, y, width, height, owner, nullptr,
                           ::GetModuleHandleW(nullptr), this);
}

LRESULT CALLBACK TWindowBase::Thunk(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* created = static_cast<TWindowBase*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    created->m_Hwnd = hwnd;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
  }
  auto* self = reinterpret_cast<TWindowBase*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return ::DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->m_Hwnd = nullptr;
    self->OnDetached();
    return ::DefWindowProcW(hwnd, msg, wp, lp);
  }
  try {
    return self->Dispatch(msg, wp, lp);
  } catch (...) {
    // Nothing unwinds through the system's message dispatch: the step ends,
    // the program goes on.
    // The handler may have taken its object with it: only the handle is used.
    ReportCurrentException(hwnd);
    return ::DefWindowProcW(hwnd, msg, wp, lp);
  }
}

LRESULT TWindowBase::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
      return 0;
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<NMHDR*>(lp));
    case WM_TIMER:
      OnTimer(wp);
      return 0;
    case WM_SIZE:
      OnSize(LOWORD(lp), HIWORD(lp));
      return 0;
    default:
      return OnMessage(msg, wp, lp);
  }
}

void TWindowBase::ReportCurrentException(HWND hwnd) noexcept {
  if (!::IsWindow(hwnd)) hwnd = nullptr;
  try {
    try {
      throw;
    } catch (const Exception& e) {
      ::ShowStandardError(hwnd, WithRecordLine(e.Message()));
    } catch (const std::bad_alloc&) {
      ::ShowStandardError(hwnd, WithRecordLine(LangText(TUiText::OutOfMemory)));
    } catch (const std::exception& e) {
      ::ShowStandardError(hwnd,
                          WithRecordLine(text::Format(LangText(TUiText::UnexpectedError), {text::FromUtf8(e.what())})));
    } catch (...) {
      ::ShowStandardError(hwnd, WithRecordLine(LangText(TUiText::UnexpectedErrorBare)));
    }
  } catch (...) {
    // Not even the box could be shown.
  }
}

namespace {
bool g_StandardErrorBoxes = true;
}  // namespace

void SetStandardErrorBoxes(bool shown) { g_StandardErrorBoxes = shown; }

void ShowStandardError(HWND window, const TString& message) {
  // The one place a standard error box appears: its text goes to the record.
  trace::Error(message);
  if (!g_StandardErrorBoxes) return;
  HWND app = window ? ::GetAncestor(window, GA_ROOTOWNER) : nullptr;
  TString caption = app ? WindowText(app) : TString();
  if (caption.empty()) caption = kDefaultCaption;
  ::MessageBoxW(window && ::IsWindowVisible(window) ? window : nullptr, W(boxtext::FitForBox(message)), W(caption),
                MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

HWND TWindowBase::BeginModal() {
  m_ModalDone = false;
  HWND owner = ::GetWindow(m_Hwnd, GW_OWNER);
  if (!owner || !::IsWindowEnabled(owner)) return nullptr;
  ::EnableWindow(owner, FALSE);
  return owner;
}

void TWindowBase::ModalLoop(HWND disabledOwner) {
  const HWND hwnd = m_Hwnd;  // `this` goes with the window if the window is destroyed meanwhile
  MSG msg;
  while (hwnd && ::IsWindow(hwnd) && !m_ModalDone) {
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {  // WM_QUIT belongs to the outer loop
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (got < 0) break;
    if (::IsWindow(hwnd) && PreTranslate(msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  if (disabledOwner && ::IsWindow(disabledOwner)) ::EnableWindow(disabledOwner, TRUE);
  if (hwnd && ::IsWindow(hwnd)) ::ShowWindow(hwnd, SW_HIDE);
}

HWND TWindowBase::CreateChild(const wchar_t* className, int id, const RECT& design, DWORD style, HFONT font,
                              const wchar_t* text, DWORD exStyle) {
  HWND h = ::CreateWindowExW(exStyle, className, text, WS_CHILD | style, S(design.left), S(design.top),
                             S(design.right - design.left), S(design.bottom - design.top), m_Hwnd,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr);
  if (h && font) ::SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return h;
}

HFONT TWindowBase::MakeFont(const wchar_t* face, int pixels, int weight) const {
  return ::CreateFontW(-S(pixels), 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, face);
}

HFONT TWindowBase::Font(const wchar_t* face, int pixels, int weight) {
  HFONT f = MakeFont(face, pixels, weight);
  m_Fonts.push_back(f);
  return f;
}
